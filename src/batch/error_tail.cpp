#include "batch/error_tail.h"

#include <cstdio>

#include "base/platform.h"

std::string tailOf(const std::string& text) {
  size_t start = text.size() > MaxTailBytes ? text.size() - MaxTailBytes : 0;
  size_t lines = 0;
  // A line end that closes the text starts no line of its own.
  size_t at = text.size() > start && text.back() == '\n' ? text.size() - 1 : text.size();
  while (at > start) {
    at = text.rfind('\n', at - 1);
    if (at == std::string::npos || at < start) break;
    if (++lines == MaxTailLines) {
      start = at + 1;
      break;
    }
  }
  return text.substr(start);
}

std::string fileTail(const std::string& path) {
  std::FILE* file = platform::openFile(path, "rb");
  if (file == nullptr) return std::string();
  if (std::fseek(file, -static_cast<long>(MaxTailBytes), SEEK_END) != 0) std::rewind(file);
  std::string bytes;
  char buffer[MaxTailBytes];
  for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    bytes.append(buffer, count);
  std::fclose(file);
  return tailOf(bytes);
}
