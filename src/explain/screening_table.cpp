#include "explain/screening_table.h"

#include "base/assertion.h"
#include "base/number_format.h"
#include "explain/screening_stats.h"
#include "submission/submission.h"

const char* const ScreeningTableHeader =
    "screening,film,day,start_minute,end,mean_tickets,mean_demand,"
    "sold_out_runs\n";

std::string screeningTableCsv(const Submission& submission,
                              const ScreeningStats& stats) {
  Assert(stats.tallies().size() == submission.screenings.size());
  std::string table = ScreeningTableHeader;
  for (size_t i = 0; i < submission.screenings.size(); ++i) {
    const Screening& s = submission.screenings[i];
    table += intToStr(static_cast<int64_t>(i + 1)) + "," + intToStr(s.movieNo) +
             "," + intToStr(s.day) + "," + intToStr(s.startMinute) + "," +
             intToStr(s.end) + "," + formatFixed(stats.meanTickets(i), 6) + "," +
             formatFixed(stats.meanDemand(i), 6) + "," +
             intToStr(stats.tallies()[i].nSoldOut) + "\n";
  }
  return table;
}
