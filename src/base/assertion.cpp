#include "base/assertion.h"

void raiseAssertion(const std::string& message, const std::string& file,
                    int32_t line) {
  throw EAssertion(message, file, line);
}

std::string intToStr(int64_t value) {
  // Work on the magnitude as unsigned so the most negative value has a text too.
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value)
                                 : static_cast<uint64_t>(value);
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  std::string text = value < 0 ? "-" : "";
  while (n > 0) text += digits[--n];
  return text;
}
