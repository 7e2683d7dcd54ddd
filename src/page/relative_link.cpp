#include "page/relative_link.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

std::string relativeLink(const std::string& target, const std::string& fromPage) {
  namespace fs = std::filesystem;
  const fs::path from = fs::absolute(fs::u8path(fromPage)).lexically_normal().parent_path();
  const fs::path to = fs::absolute(fs::u8path(target)).lexically_normal();
  const auto relative = to.lexically_relative(from).generic_u8string();
  std::string link;
  for (char c : relative) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || (c != '\0' && std::strchr("-._~/", c) != nullptr)) {
      link += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned>(byte));
      link += escaped;
    }
  }
  return link;
}
