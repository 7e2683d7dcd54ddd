#include "explain/offending_screenings.h"

namespace {

// Reads the screening number that starts at `at` and is followed by
// `follower`; false when there is none.
bool numberBefore(const std::string& text, size_t at, const std::string& follower,
                  int64_t& number) {
  size_t end = at;
  number = 0;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9' &&
         number <= INT32_MAX) {
    number = number * 10 + (text[end] - '0');
    ++end;
  }
  return end > at && number >= 1 && number <= INT32_MAX &&
         text.compare(end, follower.size(), follower) == 0;
}

}  // namespace

std::vector<int32_t> screeningsNamedBy(const std::string& message) {
  std::vector<int32_t> named;
  int64_t number = 0;
  const std::string rangePrefix = "Pri ";
  if (message.compare(0, rangePrefix.size(), rangePrefix) == 0) {
    if (numberBefore(message, rangePrefix.size(), ". predstavi", number))
      named.push_back(static_cast<int32_t>(number - 1));
    return named;
  }
  if (!numberBefore(message, 0, ". predstava pokriva", number)) return named;
  named.push_back(static_cast<int32_t>(number - 1));
  size_t second = message.find(", ");
  while (second != std::string::npos) {
    if (numberBefore(message, second + 2, ". predstava pa", number)) {
      named.push_back(static_cast<int32_t>(number - 1));
      break;
    }
    second = message.find(", ", second + 2);
  }
  return named;
}
