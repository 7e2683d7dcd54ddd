#include "base/path_spelling.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// UTF-8 on every platform, whatever the machine's code page.
fs::path fromUtf8(const std::string& text) { return fs::u8path(text); }

std::string toUtf8(const fs::path& path) {
  const auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

std::string lexicallyNormal(const std::string& path) {
  fs::path normal = fromUtf8(path).lexically_normal();
  // "in.txt/" normalises to "in.txt/", whose last component is empty.
  while (!normal.empty() && !normal.has_filename() &&
         normal.has_relative_path())
    normal = normal.parent_path();
  if (normal.empty()) return ".";
  return toUtf8(normal);
}

bool namesAFolder(const std::string& path) {
  if (path.empty()) return true;
  const fs::path name = fromUtf8(path).filename();
  return name.empty() || name == "." || name == "..";
}
