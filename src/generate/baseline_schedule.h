#ifndef SKEDOMAT_GENERATE_BASELINE_SCHEDULE_H
#define SKEDOMAT_GENERATE_BASELINE_SCHEDULE_H

#include <string>

struct TestCase;

// A first schedule to beat: simple, valid and determined by the test case
// alone. The films are ranked by rating times the number of viewers who
// share a genre with them; every evening from 17:00 the best few of them
// are shown back to back in turn, with a quarter of an hour between
// screenings, the last starting by 23:00 and every one ending within the
// year. The submission's text, with LF line ends and the contestant number
// 000000.
std::string baselineSchedule(const TestCase& testCase);

#endif  // SKEDOMAT_GENERATE_BASELINE_SCHEDULE_H
