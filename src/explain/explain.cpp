#include "explain/explain.h"

#include <cstdio>

#include "base/assertion.h"
#include "base/output_file.h"
#include "base/output_path.h"
#include "base/platform.h"
#include "driver/report.h"
#include "explain/explain_page.h"
#include "explain/problem_digest.h"
#include "explain/screening_stats.h"
#include "explain/screening_table.h"

namespace {

std::string withoutFinalLineEnd(const std::string& text) {
  return text.substr(0, text.size() - 1);
}

int explainUsageError() {
  std::fputs(explainUsage(), stdout);
  return ExitUsage;
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
  ExplainOutput(const PageSources& sources, OutputFile& page, OutputFile* table)
      : sources_(sources), problems_(MaxListedProblems), page_(page),
        table_(table) {}

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
  }

  ProblemSink& validationProblems() override { return problems_; }

  void writeInvalidSubmission(const TestCase& testCase,
                              const Submission& submission) override {
    write(renderInvalidSubmissionPage(sources_, testCase, submission,
                                      problems_),
          ScreeningTableHeader);
  }

  void writeCheckFailure(const EAssertion& failure,
                         EvaluationStage stage) override {
    write(renderFailurePage(sources_, failedStep(stage),
                            withoutFinalLineEnd(checkFailureText(failure))),
          ScreeningTableHeader);
  }

  void writeUnexpectedError(EvaluationStage) override {
    write(renderFailurePage(sources_, "Nepričakovana napaka.",
                            withoutFinalLineEnd(unexpectedErrorText())),
          ScreeningTableHeader);
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

  PageSources sources_;
  ProblemDigest problems_;
  OutputFile& page_;
  OutputFile* table_;
  ScreeningStats stats_;
};

// The table must not overwrite the page it accompanies.
int checkTableIsNotThePage(const ExplainArguments& arguments) {
  const std::string& page = arguments.evaluation.reportPath;
  if (sameFile(arguments.csvPath, page))
    return outputNotWritten("tabela \"" + arguments.csvPath +
                            "\" in porocilo \"" + page +
                            "\" sta ista datoteka.");
  return ExitReportWritten;
}

}  // namespace

const char* explainUsage() {
  return "Uporaba: Skedomat explain input.txt submission.txt report.html "
         "[nSimulacij] [--csv tabela.csv]\n[Default: 3 simulacije.]\n";
}

bool parseExplainArguments(const std::vector<std::string>& words,
                           ExplainArguments& parsed) {
  std::vector<std::string> rest;
  bool haveTable = false;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] != "--csv") {
      rest.push_back(words[i]);
      continue;
    }
    if (haveTable || i + 1 >= words.size() || words[i + 1].empty()) return false;
    parsed.csvPath = words[++i];
    haveTable = true;
  }
  return parseEvaluationArguments(rest, parsed.evaluation);
}

int runExplain(const std::vector<std::string>& arguments) {
  ExplainArguments parsed;
  if (arguments.size() < 2 ||
      !parseExplainArguments(
          std::vector<std::string>(arguments.begin() + 2, arguments.end()),
          parsed))
    return explainUsageError();
  const bool wantTable = !parsed.csvPath.empty();
  // Both temporary files exist before anything is read; neither target is
  // replaced unless both files are whole.
  int status = wantTable ? checkTableIsNotThePage(parsed) : ExitReportWritten;
  OutputFile page, table;
  if (status == ExitReportWritten)
    status = openOutputFile(parsed.evaluation, parsed.evaluation.reportPath,
                            "porocilo", page);
  if (wantTable && status == ExitReportWritten)
    status = openOutputFile(parsed.evaluation, parsed.csvPath, "tabelo", table);
  if (status != ExitReportWritten) return status;
  const PageSources sources{parsed.evaluation.testCasePath,
                            parsed.evaluation.submissionPath};
  {
    ExplainOutput output(sources, page, wantTable ? &table : nullptr);
    evaluate(parsed.evaluation, output);
  }
  status = finishOutputFile(parsed.evaluation.reportPath, page);
  if (wantTable && status == ExitReportWritten)
    status = finishOutputFile(parsed.csvPath, table);
  if (status == ExitReportWritten)
    status = commitOutputFile(parsed.evaluation.reportPath, page);
  if (wantTable && status == ExitReportWritten)
    status = commitOutputFile(parsed.csvPath, table);
  return status;
}
