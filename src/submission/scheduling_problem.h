#ifndef SKEDOMAT_SUBMISSION_SCHEDULING_PROBLEM_H
#define SKEDOMAT_SUBMISSION_SCHEDULING_PROBLEM_H

#include <cstdint>
#include <ostream>
#include <string>

// One thing that makes a schedule inadmissible, as validation finds it: its
// kind, the screenings it names and the numbers its message quotes. The
// message is made only when it is written, so that a schedule with millions
// of problems never holds millions of strings.
struct SchedulingProblem {
  enum class Kind {
    WrongCase,    // the submission is for another test case
    FilmNumber,   // a screening names no film of the test case
    Day,          // a screening's day is not in the year
    StartMinute,  // a screening's start is not a minute of the day
    EndOfYear,    // a screening ends after the year
    Overlap       // a screening begins while another one runs
  };

  // The minutes from the start of the year that a screening covers.
  struct Period {
    int64_t first;
    int64_t last;
  };

  static SchedulingProblem wrongCase(int32_t testCaseNo, int32_t submissionCaseNo);
  static SchedulingProblem filmNumber(int32_t screening, int32_t movieNo,
                                      int32_t nMovies);
  static SchedulingProblem day(int32_t screening, int32_t day);
  static SchedulingProblem startMinute(int32_t screening, int32_t startMinute);
  static SchedulingProblem endOfYear(int32_t screening, int64_t minutesOver);
  static SchedulingProblem overlap(int32_t begun, Period begunPeriod,
                                   int32_t running, Period runningPeriod);

  // Writes the problem's message, one line without its line end.
  void writeTo(std::ostream& out) const;
  // The same message as a string.
  std::string text() const;

  Kind kind = Kind::WrongCase;
  // The screening the problem is about, index from 0 (for an overlap the
  // one that begins); -1 when it names none.
  int32_t screening = -1;
  // For an overlap the running screening it meets; -1 otherwise.
  int32_t otherScreening = -1;
  // The number found wrong: the submission's case number, the film number,
  // day or start minute, or the minutes the screening runs into next year.
  int64_t found = 0;
  // What it should have been: the test case's number, or the highest value
  // allowed (the lowest is 0).
  int64_t allowed = 0;
  // For an overlap the periods of `screening` and of `otherScreening`.
  Period period{0, 0};
  Period otherPeriod{0, 0};
};

#endif  // SKEDOMAT_SUBMISSION_SCHEDULING_PROBLEM_H
