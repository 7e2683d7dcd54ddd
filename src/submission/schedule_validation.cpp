#include "submission/submission.h"

#include <algorithm>
#include <set>

#include "base/calendar.h"
#include "submission/problem_sink.h"
#include "testcase/test_case.h"

// Validation of a schedule against the test case, in three stages: the case
// number, each screening on its own, then the overlaps of all of them. A stage
// runs only when the stages before it found no problem.

namespace {

// A screening's begin (kind +1) or end (kind -1) on the time line. At one
// minute every end sorts before every begin, so that a screening which starts
// when another one ends does not overlap it.
struct Event {
  int64_t time;
  int32_t kind;
  int32_t index;

  bool operator<(const Event& other) const {
    if (time != other.time) return time < other.time;
    if (kind != other.kind) return kind < other.kind;
    return index < other.index;
  }
};

bool checkCaseNo(const Submission& submission, const TestCase& testCase,
                 ProblemSink& problems) {
  if (submission.caseNo == testCase.caseNo) return true;
  problems.add(SchedulingProblem::wrongCase(testCase.caseNo, submission.caseNo));
  return false;
}

// Hands on every range problem of screening `index` and sets its times;
// true when it has none.
bool checkScreening(Screening& screening, int32_t index,
                    const TestCase& testCase, ProblemSink& problems) {
  bool valid = true;
  if (screening.movieNo < 0 || screening.movieNo >= testCase.nMovies) {
    problems.add(SchedulingProblem::filmNumber(index, screening.movieNo,
                                               testCase.nMovies));
    valid = false;
  }
  if (screening.day < 0 || screening.day > LastDay) {
    problems.add(SchedulingProblem::day(index, screening.day));
    valid = false;
  }
  if (screening.startMinute < 0 || screening.startMinute > LastMinuteOfDay) {
    problems.add(SchedulingProblem::startMinute(index, screening.startMinute));
    valid = false;
  }
  screening.computeTimes(testCase);
  if (screening.end > MinutesPerYear) {
    problems.add(
        SchedulingProblem::endOfYear(index, screening.end - MinutesPerYear));
    valid = false;
  }
  return valid;
}

bool checkAllScreenings(Submission& submission, const TestCase& testCase,
                        ProblemSink& problems) {
  bool valid = true;
  for (size_t i = 0; i < submission.screenings.size(); ++i)
    if (!checkScreening(submission.screenings[i], static_cast<int32_t>(i),
                        testCase, problems))
      valid = false;
  return valid;
}

// The screening indexes by ascending start, equal starts in file order.
std::vector<int32_t> startOrder(const std::vector<Screening>& screenings) {
  std::vector<int32_t> order(screenings.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
  std::sort(order.begin(), order.end(), [&screenings](int32_t a, int32_t b) {
    if (screenings[a].start != screenings[b].start)
      return screenings[a].start < screenings[b].start;
    return a < b;
  });
  return order;
}

std::vector<Event> sortedEvents(const std::vector<Screening>& screenings) {
  std::vector<Event> events;
  events.reserve(2 * screenings.size());
  for (size_t i = 0; i < screenings.size(); ++i) {
    const int32_t index = static_cast<int32_t>(i);
    events.push_back(Event{screenings[i].start, +1, index});
    events.push_back(Event{screenings[i].end, -1, index});
  }
  std::sort(events.begin(), events.end());
  return events;
}

SchedulingProblem::Period periodOf(const Screening& screening) {
  return SchedulingProblem::Period{screening.start, screening.end - 1};
}

// Sweeps the time line, keeping the screenings that are running. Each
// screening that begins while others run is reported once, against the
// running screening that comes first in the file.
bool checkOverlaps(const std::vector<Screening>& screenings,
                   ProblemSink& problems) {
  std::set<int32_t> running;
  bool valid = true;
  for (const Event& event : sortedEvents(screenings)) {
    if (event.kind < 0) {
      running.erase(event.index);
      continue;
    }
    if (!running.empty()) {
      const int32_t first = *running.begin();
      problems.add(SchedulingProblem::overlap(
          event.index, periodOf(screenings[event.index]), first,
          periodOf(screenings[first])));
      valid = false;
    }
    running.insert(event.index);
  }
  return valid;
}

}  // namespace

bool Submission::validate(const TestCase& testCase, ProblemSink& problems) {
  if (!checkCaseNo(*this, testCase, problems)) return false;
  if (!checkAllScreenings(*this, testCase, problems)) return false;
  // The order is complete even when overlaps then make the schedule invalid.
  order = startOrder(screenings);
  return checkOverlaps(screenings, problems);
}
