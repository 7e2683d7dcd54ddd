#include "explain/year_calendar.h"

#include "base/assertion.h"

namespace {

const char* const MonthNames[MonthsPerYear] = {"jan", "feb", "mar", "apr",
                                               "maj", "jun", "jul", "avg",
                                               "sep", "okt", "nov", "dec"};
const int32_t MonthLengths[MonthsPerYear] = {31, 29, 31, 30, 31, 30,
                                             31, 31, 30, 31, 30, 31};

}  // namespace

const char* monthName(int month) { return MonthNames[month]; }

int32_t monthLength(int month) { return MonthLengths[month]; }

std::string dateOf(int32_t day) {
  if (day < 0) return "?";
  for (int month = 0; month < MonthsPerYear; ++month) {
    if (day < MonthLengths[month])
      return intToStr(day + 1) + ". " + MonthNames[month];
    day -= MonthLengths[month];
  }
  return "?";
}
