#ifndef SKEDOMAT_EXPLAIN_EXPLAIN_PAGE_H
#define SKEDOMAT_EXPLAIN_EXPLAIN_PAGE_H

#include <cstdint>
#include <string>

class ProblemDigest;
class RunStatistics;
class ScreeningStats;
struct Submission;
struct TestCase;

// The HTML page of `explain`: one self-contained UTF-8 file (inline CSS and
// SVG, no script, nothing loaded from elsewhere). Every text that comes from
// an input file is decoded and escaped. Long lists are cut so that the page
// stays a few MB at most for any schedule.

// The input files as the command line names them, and the href of the
// batch summary the page links back to (empty: no link).
struct PageSources {
  std::string testCasePath;
  std::string submissionPath;
  std::string summaryLink;
};

// Schedules with more screenings than this get a timeline of one cell per
// day and hour instead of one bar per screening.
const size_t DetailedTimelineLimit = 3000;

// The page of an invalid schedule lists the messages of this many problems
// at most, and says how many there were.
const size_t MaxListedProblems = 500;

// A valid schedule: the score and per-run counts as `eval` reports them, and
// where the tickets came from.
std::string renderResultPage(const PageSources& sources,
                             const TestCase& testCase,
                             const Submission& submission,
                             const ScreeningStats& stats,
                             const RunStatistics& statistics,
                             int32_t nSimulacij, int64_t elapsedTicks);

// A schedule that validation rejected: the messages of its problems, and its
// timeline with the screenings they name marked.
std::string renderInvalidSubmissionPage(const PageSources& sources,
                                        const TestCase& testCase,
                                        const Submission& submission,
                                        const ProblemDigest& problems);

// An evaluation that failed: `what` says which step failed, `report` holds
// the report's error line as bytes.
std::string renderFailurePage(const PageSources& sources,
                              const std::string& what,
                              const std::string& report);

#endif  // SKEDOMAT_EXPLAIN_EXPLAIN_PAGE_H
