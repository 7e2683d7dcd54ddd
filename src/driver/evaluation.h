#ifndef SKEDOMAT_DRIVER_EVALUATION_H
#define SKEDOMAT_DRIVER_EVALUATION_H

#include <cstdint>
#include <string>
#include <vector>

#include "base/exit_status.h"
#include "base/output_file.h"

class EAssertion;
class ProblemSink;
class RunStatistics;
class Simulation;
struct Submission;
struct TestCase;

// Simulation runs when the command line names no count.
const int32_t DefaultRunCount = 3;

// The files and the run count of one evaluation, as the command line names
// them after the command word.
struct EvaluationArguments {
  std::string testCasePath;
  std::string submissionPath;
  std::string reportPath;
  int32_t nSimulacij = DefaultRunCount;

  // The files the evaluation reads, which no output may replace.
  std::vector<std::string> inputPaths() const;
};

// Takes the three paths and the optional run count from `words` (the
// arguments after the command word); the reason when they are not a valid
// command line, empty otherwise. Words after the run count are ignored.
std::string parseEvaluationArguments(const std::vector<std::string>& words,
                                     EvaluationArguments& parsed);

// The step of the evaluation at which a failure reached the guard.
enum class EvaluationStage { ReadingTestCase, ReadingSubmission, Validating,
                             Running, Writing };

// What one command makes of an evaluation: how it plays each seeded run and
// which output it writes of the outcome. `evaluate` calls exactly one of the
// write operations, under its guard.
class EvaluationOutput {
 public:
  virtual ~EvaluationOutput() = default;

  // Plays one run on a fresh, freshly seeded simulation.
  virtual void playRun(Simulation& simulation, const Submission& submission);

  virtual void writeSuccess(const TestCase& testCase,
                            const Submission& submission, int32_t nSimulacij,
                            int64_t elapsedTicks,
                            const RunStatistics& statistics) = 0;
  // Where validation hands the problems it finds.
  virtual ProblemSink& validationProblems() = 0;
  // Validation handed on its problems and found the schedule invalid.
  virtual void writeInvalidSubmission(const TestCase& testCase,
                                      const Submission& submission) = 0;
  virtual void writeCheckFailure(const EAssertion& failure,
                                 EvaluationStage stage) = 0;
  virtual void writeUnexpectedError(EvaluationStage stage) = 0;
};

// Reads, validates and runs, run i seeded with i + 123, and hands the
// outcome to `output`. The one place where failures of the evaluation are
// caught. An input that cannot be read gets one line on standard error
// beside the report's failure form, so that a grader sees whose fault it is.
void evaluate(const EvaluationArguments& arguments, EvaluationOutput& output);

// openOutputFile for an output of the evaluation: the path is checked
// against its test case and submission, and the file ends lines as this
// platform's text files do.
int openOutputFile(const EvaluationArguments& arguments,
                   const std::string& path, const std::string& what,
                   OutputFile& file);

// The whole evaluation of `eval input.txt submission.txt report.txt
// [nSimulacij]`; `arguments` start with the program and the command word.
int runEval(const std::vector<std::string>& arguments);

// The usage text of `eval`.
const char* evalUsage();

#endif  // SKEDOMAT_DRIVER_EVALUATION_H
