#include "driver/text_report.h"

#include "driver/report.h"

TextReport::TextReport(OutputFile& report)
    : report_(report), messages_(report, InvalidSubmissionHeading), problems_(messages_) {}

void TextReport::writeSuccess(const TestCase&, const Submission&, int32_t nSimulacij,
                              int64_t elapsedTicks, const RunStatistics& statistics) {
  writeSuccessReport(report_, nSimulacij, elapsedTicks, statistics);
}

void TextReport::writeInvalidSubmission(const TestCase&, const Submission&) {
  messages_.finish();
  report_.write(InvalidSubmissionEnding);
}

void TextReport::writeCheckFailure(const EAssertion& failure, EvaluationStage) {
  report_.discard();
  ::writeCheckFailure(report_, failure);
}

void TextReport::writeUnexpectedError(EvaluationStage) {
  report_.discard();
  ::writeUnexpectedError(report_);
}
