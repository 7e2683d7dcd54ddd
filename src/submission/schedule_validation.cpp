#include "submission/submission.h"

#include <algorithm>
#include <set>
#include <string>

#include "base/assertion.h"
#include "base/calendar.h"
#include "testcase/test_case.h"

// Validation of a schedule against the test case, in three stages: the case
// number, each screening on its own, then the overlaps of all of them. A stage
// runs only when the stages before it wrote no message.

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

// The 1-based number by which messages name screening `index`.
std::string numberOf(size_t index) {
  return intToStr(static_cast<int64_t>(index) + 1);
}

bool checkCaseNo(const Submission& submission, const TestCase& testCase,
                 std::ostream& messages) {
  if (submission.caseNo == testCase.caseNo) return true;
  messages << "Vhodna datoteka je testni primer " << intToStr(testCase.caseNo)
           << ", izhodna pa primer " << intToStr(submission.caseNo) << ".\n";
  return false;
}

// Writes every range problem of screening `index` and sets its times; true
// when it has none.
bool checkScreening(Screening& screening, size_t index,
                    const TestCase& testCase, std::ostream& messages) {
  const std::string prefix = "Pri " + numberOf(index) + ". predstavi je ";
  bool valid = true;
  if (screening.movieNo < 0 || screening.movieNo >= testCase.nMovies) {
    messages << prefix << "stevilka filma " << intToStr(screening.movieNo)
             << " (morala bi biti 0.."
             << intToStr(static_cast<int64_t>(testCase.nMovies) - 1) << ").\n";
    valid = false;
  }
  if (screening.day < 0 || screening.day > LastDay) {
    messages << prefix << "dan " << intToStr(screening.day)
             << " (moral bi biti 0.." << intToStr(LastDay) << ").\n";
    valid = false;
  }
  if (screening.startMinute < 0 || screening.startMinute > LastMinuteOfDay) {
    messages << prefix << "cas zacetka " << intToStr(screening.startMinute)
             << " (moral bi biti 0.." << intToStr(LastMinuteOfDay) << ").\n";
    valid = false;
  }
  screening.computeTimes(testCase);
  if (screening.end > MinutesPerYear) {
    messages << prefix << "konec filma ze v naslednjem letu (za "
             << intToStr(screening.end - MinutesPerYear) << " min).\n";
    valid = false;
  }
  return valid;
}

bool checkAllScreenings(Submission& submission, const TestCase& testCase,
                        std::ostream& messages) {
  bool valid = true;
  for (size_t i = 0; i < submission.screenings.size(); ++i)
    if (!checkScreening(submission.screenings[i], i, testCase, messages))
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

void writeOverlap(const std::vector<Screening>& screenings, int32_t begun,
                  int32_t running, std::ostream& messages) {
  const Screening& f = screenings[begun];
  const Screening& h = screenings[running];
  messages << numberOf(begun) << ". predstava pokriva obdobje "
           << intToStr(f.start) << ".." << intToStr(f.end - 1) << ", "
           << numberOf(running) << ". predstava pa obdobje "
           << intToStr(h.start) << ".." << intToStr(h.end - 1)
           << ", torej se prekrivata [casi so v minutah od zacetka leta].\n";
}

// Sweeps the time line, keeping the screenings that are running. Each
// screening that begins while others run is reported once, against the
// running screening that comes first in the file.
bool checkOverlaps(const std::vector<Screening>& screenings,
                   std::ostream& messages) {
  std::set<int32_t> running;
  bool valid = true;
  for (const Event& event : sortedEvents(screenings)) {
    if (event.kind < 0) {
      running.erase(event.index);
      continue;
    }
    if (!running.empty()) {
      writeOverlap(screenings, event.index, *running.begin(), messages);
      valid = false;
    }
    running.insert(event.index);
  }
  return valid;
}

}  // namespace

bool Submission::validate(const TestCase& testCase, std::ostream& messages) {
  if (!checkCaseNo(*this, testCase, messages)) return false;
  if (!checkAllScreenings(*this, testCase, messages)) return false;
  // The order is complete even when overlaps then make the schedule invalid.
  order = startOrder(screenings);
  return checkOverlaps(screenings, messages);
}
