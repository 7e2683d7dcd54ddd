#ifndef SKEDOMAT_DRIVER_TEXT_REPORT_H
#define SKEDOMAT_DRIVER_TEXT_REPORT_H

#include "base/output_file.h"
#include "driver/evaluation.h"
#include "driver/report_stream.h"
#include "submission/problem_sink.h"

// The plain text report of `eval`, as an output of the evaluation. Each
// problem's message goes into the report as validation finds it, so that
// none is held in memory; a failure form replaces whatever was written
// before it.
class TextReport : public EvaluationOutput {
 public:
  explicit TextReport(OutputFile& report);

  ProblemSink& validationProblems() override { return problems_; }
  void writeSuccess(const TestCase& testCase, const Submission& submission,
                    int32_t nSimulacij, int64_t elapsedTicks,
                    const RunStatistics& statistics) override;
  void writeInvalidSubmission(const TestCase& testCase,
                              const Submission& submission) override;
  void writeCheckFailure(const EAssertion& failure, EvaluationStage stage) override;
  void writeUnexpectedError(EvaluationStage stage) override;

 private:
  OutputFile& report_;
  ReportStream messages_;
  ProblemLineWriter problems_;
};

#endif  // SKEDOMAT_DRIVER_TEXT_REPORT_H
