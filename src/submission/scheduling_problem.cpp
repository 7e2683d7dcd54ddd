#include "submission/scheduling_problem.h"

#include <sstream>

#include "base/assertion.h"
#include "base/calendar.h"

namespace {

// The 1-based number by which messages name screening `index`.
std::string numberOf(int32_t index) {
  return intToStr(static_cast<int64_t>(index) + 1);
}

SchedulingProblem about(SchedulingProblem::Kind kind, int32_t screening,
                        int64_t found, int64_t allowed) {
  SchedulingProblem problem;
  problem.kind = kind;
  problem.screening = screening;
  problem.found = found;
  problem.allowed = allowed;
  return problem;
}

// "Pri 3. predstavi je dan 400 (moral bi biti 0..365)."
void writeRange(std::ostream& out, const SchedulingProblem& problem,
                const char* what, const char* should) {
  out << "Pri " << numberOf(problem.screening) << ". predstavi je " << what
      << ' ' << intToStr(problem.found) << " (" << should << " bi biti 0.."
      << intToStr(problem.allowed) << ").";
}

void writeEndOfYear(std::ostream& out, const SchedulingProblem& problem) {
  out << "Pri " << numberOf(problem.screening)
      << ". predstavi je konec filma ze v naslednjem letu (za "
      << intToStr(problem.found) << " min).";
}

void writeWrongCase(std::ostream& out, const SchedulingProblem& problem) {
  out << "Vhodna datoteka je testni primer " << intToStr(problem.allowed)
      << ", izhodna pa primer " << intToStr(problem.found) << '.';
}

void writeOverlap(std::ostream& out, const SchedulingProblem& problem) {
  out << numberOf(problem.screening) << ". predstava pokriva obdobje "
      << intToStr(problem.period.first) << ".." << intToStr(problem.period.last)
      << ", " << numberOf(problem.otherScreening) << ". predstava pa obdobje "
      << intToStr(problem.otherPeriod.first) << ".."
      << intToStr(problem.otherPeriod.last)
      << ", torej se prekrivata [casi so v minutah od zacetka leta].";
}

}  // namespace

SchedulingProblem SchedulingProblem::wrongCase(int32_t testCaseNo,
                                               int32_t submissionCaseNo) {
  return about(Kind::WrongCase, -1, submissionCaseNo, testCaseNo);
}

SchedulingProblem SchedulingProblem::filmNumber(int32_t screening,
                                                int32_t movieNo,
                                                int32_t nMovies) {
  return about(Kind::FilmNumber, screening, movieNo,
               static_cast<int64_t>(nMovies) - 1);
}

SchedulingProblem SchedulingProblem::day(int32_t screening, int32_t day) {
  return about(Kind::Day, screening, day, LastDay);
}

SchedulingProblem SchedulingProblem::startMinute(int32_t screening,
                                                 int32_t startMinute) {
  return about(Kind::StartMinute, screening, startMinute, LastMinuteOfDay);
}

SchedulingProblem SchedulingProblem::endOfYear(int32_t screening,
                                               int64_t minutesOver) {
  return about(Kind::EndOfYear, screening, minutesOver, 0);
}

SchedulingProblem SchedulingProblem::overlap(int32_t begun, Period begunPeriod,
                                             int32_t running,
                                             Period runningPeriod) {
  SchedulingProblem problem = about(Kind::Overlap, begun, 0, 0);
  problem.otherScreening = running;
  problem.period = begunPeriod;
  problem.otherPeriod = runningPeriod;
  return problem;
}

void SchedulingProblem::writeTo(std::ostream& out) const {
  switch (kind) {
    case Kind::WrongCase:
      return writeWrongCase(out, *this);
    case Kind::FilmNumber:
      return writeRange(out, *this, "stevilka filma", "morala");
    case Kind::Day:
      return writeRange(out, *this, "dan", "moral");
    case Kind::StartMinute:
      return writeRange(out, *this, "cas zacetka", "moral");
    case Kind::EndOfYear:
      return writeEndOfYear(out, *this);
    case Kind::Overlap:
      return writeOverlap(out, *this);
  }
}

std::string SchedulingProblem::text() const {
  std::ostringstream out;
  writeTo(out);
  return out.str();
}
