#ifndef SKEDOMAT_BASE_ASSERTION_H
#define SKEDOMAT_BASE_ASSERTION_H

#include <cstdint>
#include <string>

// The one exception of the evaluator: a failed consistency check or a form
// error of the contestant's file. Only the driver catches it and turns it into
// the check-failure form of the report.
class EAssertion {
 public:
  EAssertion(const std::string& message, const std::string& file, int32_t line)
      : message(message), file(file), line(line) {}

  std::string message;
  std::string file;
  int32_t line;
};

// Throws an EAssertion built from copies of the arguments.
[[noreturn]] void raiseAssertion(const std::string& message,
                                 const std::string& file, int32_t line);

// The decimal text of `value`, as "%d" prints it.
std::string intToStr(int64_t value);

// Raises "Assertion failure (<condition as written>)" when `condition` is false.
#define Assert(condition)                                              \
  do {                                                                 \
    if (!(condition))                                                  \
      raiseAssertion("Assertion failure (" #condition ")", __FILE__,   \
                     __LINE__);                                        \
  } while (false)

#endif  // SKEDOMAT_BASE_ASSERTION_H
