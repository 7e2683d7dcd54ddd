#include "base/folder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path fromUtf8(const std::string& path) { return fs::u8path(path); }

// A name that two batches started at once are unlikely to share; creation
// still checks that the folder is new.
std::string uniqueSuffix(unsigned attempt) {
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return std::to_string(static_cast<unsigned long long>(now) % 1000000007ULL) + "-" +
         std::to_string(attempt);
}

}  // namespace

bool isFolder(const std::string& path) {
  std::error_code error;
  return fs::is_directory(fromUtf8(path), error);
}

bool isLink(const std::string& path) {
  std::error_code error;
  return fs::is_symlink(fromUtf8(path), error);
}

bool listFiles(const std::string& folder, const std::string& suffix,
               std::vector<std::string>& names, std::string& error) {
  std::error_code code;
  fs::directory_iterator entries(fromUtf8(folder), code);
  for (; !code && entries != fs::directory_iterator(); entries.increment(code)) {
    std::error_code kindCode;
    if (!entries->is_regular_file(kindCode)) continue;
    std::string name = entries->path().filename().u8string();
    if (name.size() >= suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
      names.push_back(name);
  }
  if (code) {
    error = code.message();
    return false;
  }
  std::sort(names.begin(), names.end());
  return true;
}

bool makeFolders(const std::string& path, std::string& error) {
  std::error_code code;
  fs::create_directories(fromUtf8(path), code);
  if (!code && isFolder(path)) return true;
  error = code ? code.message() : "ni mapa";
  return false;
}

bool makeTemporaryFolder(const std::string& prefix, std::string& path,
                         std::string& error, const std::string& parent) {
  std::error_code code;
  const fs::path base = parent.empty() ? fs::temp_directory_path(code) : fromUtf8(parent);
  if (code) {
    error = code.message();
    return false;
  }
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = base / fromUtf8(prefix + uniqueSuffix(attempt));
    if (fs::create_directory(candidate, code)) {
      path = candidate.u8string();
      return true;
    }
    if (code) break;
  }
  error = code ? code.message() : "vsa imena so zasedena";
  return false;
}

bool removeFolderTree(const std::string& path) {
  std::error_code code;
  fs::remove_all(fromUtf8(path), code);
  return !code;
}

std::string pathInFolder(const std::string& folder, const std::string& name) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
    return folder + name;
  return folder + "/" + name;
}
