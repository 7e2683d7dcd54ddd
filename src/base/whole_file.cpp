#include "base/whole_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/platform.h"

namespace {

// Why the path is no regular file to read; empty when it is one.
std::string kindProblem(const std::filesystem::file_status& status) {
  namespace fs = std::filesystem;
  switch (status.type()) {
    case fs::file_type::regular: return std::string();
    case fs::file_type::directory: return "je mapa, ne datoteka";
    case fs::file_type::fifo: return "je cev (FIFO), ne navadna datoteka";
    case fs::file_type::socket: return "je vticnica, ne navadna datoteka";
    case fs::file_type::block:
    case fs::file_type::character: return "je naprava, ne navadna datoteka";
    default: return "ni navadna datoteka";
  }
}

}  // namespace

WholeFileRead readWholeFile(const std::string& path, size_t maxBytes, std::string& text,
                            std::string& error) {
  namespace fs = std::filesystem;
  text.clear();
  std::error_code code;
  const fs::file_status status = fs::status(fs::u8path(path), code);
  if (status.type() == fs::file_type::not_found) {
    error = "datoteka ne obstaja";
    return WholeFileRead::Missing;
  }
  if (code) {
    error = code.message();
    return WholeFileRead::Failed;
  }
  error = kindProblem(status);
  if (!error.empty()) return WholeFileRead::Failed;
  std::FILE* file = platform::openFile(path, "rb");
  if (file == nullptr) {
    error = platform::lastErrorText();
    return WholeFileRead::Failed;
  }
  char buffer[65536];
  size_t count = 0;
  while (text.size() <= maxBytes && (count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    text.append(buffer, count);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    error = "branje ni uspelo";
    return WholeFileRead::Failed;
  }
  if (text.size() > maxBytes) {
    text.clear();
    error = "datoteka je vecja od " + std::to_string(maxBytes) + " bajtov";
    return WholeFileRead::Failed;
  }
  return WholeFileRead::Read;
}
