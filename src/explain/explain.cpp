#include "explain/explain.h"

#include <cstdio>
#include <memory>

#include "base/assertion.h"
#include "base/command_options.h"
#include "base/output_delivery.h"
#include "base/output_file.h"
#include "base/output_path.h"
#include "base/output_set.h"
#include "base/platform.h"
#include "base/usage_error.h"
#include "driver/report.h"
#include "driver/text_report.h"
#include "explain/explain_page.h"
#include "explain/problem_digest.h"
#include "explain/screening_stats.h"
#include "explain/screening_table.h"
#include "page/relative_link.h"

namespace {

std::string withoutFinalLineEnd(const std::string& text) {
  return text.substr(0, text.size() - 1);
}

// What the page says failed, by the step at which the evaluation stopped.
std::string failedStep(EvaluationStage stage) {
  switch (stage) {
    case EvaluationStage::ReadingTestCase:
      return "Napaka v datoteki s testnim primerom.";
    case EvaluationStage::ReadingSubmission:
      return "Napaka v oddani datoteki.";
    default:
      return "Ocenjevanje se je ustavilo zaradi napake.";
  }
}

// The page of `explain`, and its CSV table when one was asked for. Both are
// built whole in memory and written at the end, so that a failure while
// building them leaves only the failure page.
class ExplainOutput : public EvaluationOutput {
 public:
  // With a `text` report, the evaluation's text report is written beside the
  // page, from the same runs.
  ExplainOutput(const PageSources& sources, OutputFile& page, OutputFile* table,
                TextReport* text)
      : sources_(sources), problems_(MaxListedProblems), page_(page),
        table_(table), text_(text),
        tee_(problems_, text != nullptr ? &text->validationProblems() : nullptr) {}

  void playRun(Simulation& simulation, const Submission& submission) override {
    stats_.playRun(simulation, submission);
  }

  void writeSuccess(const TestCase& testCase, const Submission& submission,
                    int32_t nSimulacij, int64_t elapsedTicks,
                    const RunStatistics& statistics) override {
    std::string page = renderResultPage(sources_, testCase, submission, stats_,
                                        statistics, nSimulacij, elapsedTicks);
    std::string table =
        table_ != nullptr ? screeningTableCsv(submission, stats_) : "";
    write(page, table);
    if (text_ != nullptr)
      text_->writeSuccess(testCase, submission, nSimulacij, elapsedTicks, statistics);
  }

  ProblemSink& validationProblems() override { return tee_; }

  void writeInvalidSubmission(const TestCase& testCase,
                              const Submission& submission) override {
    write(renderInvalidSubmissionPage(sources_, testCase, submission,
                                      problems_),
          ScreeningTableHeader);
    if (text_ != nullptr) text_->writeInvalidSubmission(testCase, submission);
  }

  void writeCheckFailure(const EAssertion& failure,
                         EvaluationStage stage) override {
    write(renderFailurePage(sources_, failedStep(stage),
                            withoutFinalLineEnd(checkFailureText(failure))),
          ScreeningTableHeader);
    if (text_ != nullptr) text_->writeCheckFailure(failure, stage);
  }

  void writeUnexpectedError(EvaluationStage stage) override {
    write(renderFailurePage(sources_, "Nepričakovana napaka.",
                            withoutFinalLineEnd(unexpectedErrorText())),
          ScreeningTableHeader);
    if (text_ != nullptr) text_->writeUnexpectedError(stage);
  }

 private:
  // Whatever an earlier step wrote gives way: a failure while writing the
  // result leaves only the failure page.
  void write(const std::string& page, const std::string& table) {
    page_.discard();
    page_.write(page);
    if (table_ == nullptr) return;
    table_->discard();
    table_->write(table);
  }

  // Hands each problem to the page's digest and, when there is one, to the
  // text report.
  class ProblemTee : public ProblemSink {
   public:
    ProblemTee(ProblemSink& first, ProblemSink* second) : first_(first), second_(second) {}
    void add(const SchedulingProblem& problem) override {
      first_.add(problem);
      if (second_ != nullptr) second_->add(problem);
    }

   private:
    ProblemSink& first_;
    ProblemSink* second_;
  };

  PageSources sources_;
  ProblemDigest problems_;
  OutputFile& page_;
  OutputFile* table_;
  TextReport* text_;
  ProblemTee tee_;
  ScreeningStats stats_;
};

// No output may overwrite another: the page, the table and the text report
// are three files.
int checkOutputsDiffer(const ExplainArguments& arguments) {
  const std::string& page = arguments.evaluation.reportPath;
  const std::string& table = arguments.csvPath;
  const std::string& text = arguments.textReportPath;
  if (!table.empty() && sameFile(table, page))
    return outputNotWritten("tabela \"" + table + "\" in porocilo \"" + page +
                            "\" sta ista datoteka.");
  if (!text.empty() && (sameFile(text, page) || (!table.empty() && sameFile(text, table))))
    return outputNotWritten("besedilno porocilo \"" + text +
                            "\" je ista datoteka kot stran ali tabela.");
  return ExitReportWritten;
}

}  // namespace

const char* explainUsage() {
  return "Uporaba: Skedomat explain input.txt submission.txt report.html "
         "[nSimulacij] [--csv tabela.csv] [--report porocilo.txt] "
         "[--summary povzetek.html]\n"
         "[Default: 3 simulacije.]\n";
}

std::string parseExplainArguments(const std::vector<std::string>& words,
                                  ExplainArguments& parsed) {
  std::vector<std::string> positional;
  const std::string reason = takeCommandOptions(
      words, {{"--csv", true, takePath(parsed.csvPath)},
              {"--report", true, takePath(parsed.textReportPath)},
              {"--summary", true, takePath(parsed.summaryPath)}},
      positional);
  if (!reason.empty()) return reason;
  // Unlike eval, which must keep its command line as graders call it.
  const size_t mostPositional = 4;
  if (positional.size() > mostPositional) return extraWordReason(positional[mostPositional]);
  return parseEvaluationArguments(positional, parsed.evaluation);
}

int runExplain(const std::vector<std::string>& arguments) {
  ExplainArguments parsed;
  const std::string reason = parseExplainArguments(
      std::vector<std::string>(arguments.begin() + 2, arguments.end()), parsed);
  if (!reason.empty()) return usageError(reason, explainUsage());
  const int status = checkOutputsDiffer(parsed);
  if (status != ExitReportWritten) return status;
  // Every temporary file exists before anything is read; no target is
  // replaced unless every file is whole.
  const std::vector<std::string> inputs = parsed.evaluation.inputPaths();
  const OutputFile::LineEnds lineEnds = OutputFile::LineEnds::Platform;
  OutputSet outputs;
  OutputFile& page = outputs.add(parsed.evaluation.reportPath, "porocilo", inputs, lineEnds);
  OutputFile* table = parsed.csvPath.empty()
                          ? nullptr
                          : &outputs.add(parsed.csvPath, "tabelo", inputs, lineEnds);
  OutputFile* text = parsed.textReportPath.empty()
                         ? nullptr
                         : &outputs.add(parsed.textReportPath, "porocilo", inputs, lineEnds);
  if (outputs.status() != ExitReportWritten) return outputs.status();
  const PageSources sources{
      parsed.evaluation.testCasePath, parsed.evaluation.submissionPath,
      parsed.summaryPath.empty()
          ? ""
          : relativeLink(parsed.summaryPath, parsed.evaluation.reportPath)};
  {
    std::unique_ptr<TextReport> textReport(text != nullptr ? new TextReport(*text) : nullptr);
    ExplainOutput output(sources, page, table, textReport.get());
    evaluate(parsed.evaluation, output);
  }
  return outputs.deliver();
}
