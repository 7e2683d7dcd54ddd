// Runs the built evaluator's `explain` command: its page and table against
// `eval`'s report on the same files, its error pages, its command line, a
// schedule of every minute of the year, and the page in headless Chromium.
//
// Usage: skedomat_explain_tests SKEDOMAT DATA_DIRECTORY EXAMPLES_DIRECTORY
//            SCRATCH_DIRECTORY [--require-browser]
// Without Chromium on the PATH the browser test is skipped, unless
// --require-browser is given.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "case_runner.h"
#include "spawn.h"

namespace fs = std::filesystem;

namespace {

std::string skedomatPath;
std::string dataDirectory;
std::string examplesDirectory;
std::string scratchDirectory;
bool requireBrowser = false;

const std::string ExplainUsage =
    "Uporaba: Skedomat explain input.txt submission.txt report.html "
    "[nSimulacij] [--csv tabela.csv] [--report porocilo.txt] [--summary povzetek.html]\n"
    "[Default: 3 simulacije.]\n";
const std::string EvalUsage =
    "Uporaba: Skedomat eval input.txt submission.txt report.txt "
    "[nSimulacij]\n[Default: 3 simulacije.]\n";
const std::string TableHeader =
    "screening,film,day,start_minute,end,mean_tickets,mean_demand,sold_out_runs";

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh, empty folder in the scratch space.
fs::path freshFolder(const std::string& name) {
  fs::path folder = fs::path(scratchDirectory) / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

struct ProgramRun {
  int status = -1;
  std::string standardOutput;
  std::string standardError;
};

ProgramRun runIn(const fs::path& folder, const std::vector<std::string>& arguments,
          const std::string& program = "") {
  ProgramRun run;
  run.status = runProgram(program.empty() ? fs::absolute(skedomatPath).string() : program,
                          arguments, folder.string(), (folder / ".stdout").string(),
                          (folder / ".stderr").string());
  run.standardOutput = readFile((folder / ".stdout").string());
  run.standardError = readFile((folder / ".stderr").string());
  return run;
}

// The text of the element with `id`, up to its first child element.
std::string elementText(const std::string& html, const std::string& id) {
  size_t at = html.find("id=\"" + id + "\"");
  if (at == std::string::npos) return "<no element " + id + ">";
  size_t begin = html.find('>', at) + 1;
  return html.substr(begin, html.find('<', begin) - begin);
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> fieldsOf(const std::string& row) {
  std::vector<std::string> fields;
  std::istringstream in(row);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

size_t count(const std::string& text, const std::string& piece) {
  size_t n = 0;
  for (size_t at = text.find(piece); at != std::string::npos;
       at = text.find(piece, at + piece.size()))
    ++n;
  return n;
}

// What eval's success report says, by its lines.
struct EvalFacts {
  std::string ticketsPerRun, worst, best, mean, median, score;
};

std::string afterLabel(const std::string& line) {
  size_t colon = line.find(": ");
  return colon == std::string::npos ? "" : line.substr(colon + 2);
}

EvalFacts evalFacts(const std::string& report) {
  std::vector<std::string> lines = linesOf(report);
  EvalFacts facts;
  if (lines.size() != 9 || lines[0] != "OK") return facts;
  facts.ticketsPerRun = afterLabel(lines[3]);
  facts.worst = afterLabel(lines[4]);
  facts.best = afterLabel(lines[5]);
  facts.mean = afterLabel(lines[6]);
  facts.median = afterLabel(lines[7]);
  facts.score = lines[8];
  return facts;
}

void expectPageShows(const EvalFacts& facts, const std::string& page) {
  EXPECT_EQ(facts.ticketsPerRun, elementText(page, "tickets-per-run"));
  EXPECT_EQ(facts.worst, elementText(page, "worst"));
  EXPECT_EQ(facts.best, elementText(page, "best"));
  EXPECT_EQ(facts.mean, elementText(page, "mean"));
  EXPECT_EQ(facts.median, elementText(page, "median"));
  EXPECT_EQ(facts.score, elementText(page, "score"));
}

// The rows of a table written by `explain --csv`, header checked.
std::vector<std::vector<std::string>> tableRows(const std::string& table) {
  std::vector<std::string> lines = linesOf(table);
  EXPECT_FALSE(lines.empty());
  if (lines.empty()) return {};
  EXPECT_EQ(TableHeader, lines[0]);
  std::vector<std::vector<std::string>> rows;
  for (size_t i = 1; i < lines.size(); ++i) rows.push_back(fieldsOf(lines[i]));
  return rows;
}

// The screening lines of a submission file, as film, day, start minute.
std::vector<std::vector<std::string>> submissionScreenings(const std::string& text) {
  std::vector<std::string> lines = linesOf(text);
  std::vector<std::vector<std::string>> screenings;
  for (size_t i = 4; i < lines.size(); ++i) {
    std::istringstream in(lines[i]);
    long film, day, minute;
    in >> film >> day >> minute;
    screenings.push_back({std::to_string(film), std::to_string(day), std::to_string(minute)});
  }
  return screenings;
}

// Runs eval and explain with the same files and run count in `folder`;
// checks that the page and the table agree with the report.
void expectExplainAgreesWithEval(const fs::path& folder, const std::string& input,
                                 const std::string& submission,
                                 const std::vector<std::string>& runCount) {
  std::vector<std::string> evalArguments = {"eval", input, submission, "eval-report.txt"};
  std::vector<std::string> explainArguments = {"explain", input, submission, "page.html"};
  for (const std::string& word : runCount) {
    evalArguments.push_back(word);
    explainArguments.push_back(word);
  }
  explainArguments.insert(explainArguments.begin() + 2,
                          {"--csv", "table.csv", "--report", "explain-report.txt"});
  ASSERT_EQ(0, runIn(folder, evalArguments).status);
  ASSERT_EQ(0, runIn(folder, explainArguments).status);
  // The text report explain writes beside its page is eval's.
  EXPECT_EQ(normaliseReport(readFile((folder / "eval-report.txt").string())),
            normaliseReport(readFile((folder / "explain-report.txt").string())));
  EvalFacts facts = evalFacts(readFile((folder / "eval-report.txt").string()));
  ASSERT_FALSE(facts.score.empty()) << "eval gave no success report";
  const std::string page = readFile((folder / "page.html").string());
  expectPageShows(facts, page);

  std::vector<std::vector<std::string>> rows = tableRows(readFile((folder / "table.csv").string()));
  std::vector<std::vector<std::string>> screenings =
      submissionScreenings(readFile((folder / submission).string()));
  ASSERT_EQ(screenings.size(), rows.size());
  double sum = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    ASSERT_EQ(8u, rows[i].size()) << "row " << i + 1;
    EXPECT_EQ(std::to_string(i + 1), rows[i][0]);
    EXPECT_EQ(screenings[i], std::vector<std::string>(rows[i].begin() + 1, rows[i].begin() + 4));
    const double tickets = std::stod(rows[i][5]), demand = std::stod(rows[i][6]);
    EXPECT_LE(tickets, demand + 1e-9) << "row " << i + 1;
    sum += tickets;
  }
  // Each mean is written to six decimals.
  EXPECT_NEAR(std::stod(facts.score), sum, 1e-4 * std::max(1.0, std::stod(facts.score)) +
                                               5e-7 * static_cast<double>(rows.size()));
}

// Every case folder that evaluates a valid schedule with the default command
// line or an `eval` one.
std::vector<std::string> successfulEvalCases() {
  std::vector<std::string> cases;
  for (const std::string& name : findCases(dataDirectory)) {
    fs::path folder = fs::path(dataDirectory) / name;
    std::vector<std::string> arguments = caseArguments(folder.string());
    if (arguments.size() < 4 || arguments[0] != "eval") continue;
    if (readFile((folder / "expected.txt").string()).compare(0, 3, "OK\n") != 0) continue;
    cases.push_back(name);
  }
  return cases;
}

TEST(ExplainAgreesWithEval, OnEveryFixtureWithAValidSchedule) {
  std::vector<std::string> cases = successfulEvalCases();
  ASSERT_GE(cases.size(), 1u);
  for (const std::string& name : cases) {
    SCOPED_TRACE(name);
    fs::path folder = freshFolder("agree/" + name);
    fs::copy(fs::path(dataDirectory) / name, folder, fs::copy_options::recursive);
    std::vector<std::string> arguments = caseArguments(folder.string());
    // The run count alone: explain refuses the words eval ignores after it.
    arguments.resize(std::min<size_t>(arguments.size(), 5));
    expectExplainAgreesWithEval(folder, arguments[1], arguments[2],
                                std::vector<std::string>(arguments.begin() + 4, arguments.end()));
  }
}

TEST(ExplainAgreesWithEval, OnTheBundledExampleWithSeveralRunCounts) {
  for (const std::vector<std::string>& runCount :
       {std::vector<std::string>{}, {"1"}, {"7"}, {"12x"}}) {
    fs::path folder = freshFolder("agree-example");
    fs::copy(examplesDirectory, folder, fs::copy_options::recursive);
    SCOPED_TRACE(runCount.empty() ? "default" : runCount[0]);
    expectExplainAgreesWithEval(folder, "input.txt", "submission.txt", runCount);
  }
}

// A small test case: films with the given titles (all of 100 minutes, one
// genre named `genre`), four viewers of that genre, `seats` seats.
std::string testCaseFile(const std::vector<std::string>& titles, const std::string& genre,
                         int seats, int runtime = 100) {
  std::string text = "Tavo\n1\n" + std::to_string(titles.size()) + "\n";
  for (size_t i = 0; i < titles.size(); ++i)
    text += std::to_string(i) + "\ntt" + std::to_string(1000 + i) + "\n" + titles[i] +
            "\n" + std::to_string(runtime) + "\n8.5\n1\n0\n" + genre + "\n";
  text += "4 " + std::to_string(seats) + "\n";
  for (const char* time : {"18:00", "19:30", "21:00", "17:15"})
    text += std::string(time) + "\n1\n0\n" + genre + "\n";
  return text;
}

std::string submissionFile(const std::vector<std::string>& screenings, int caseNo = 1) {
  std::string text = "123456\nTavo\n" + std::to_string(caseNo) + "\n" +
                     std::to_string(screenings.size()) + "\n";
  for (const std::string& screening : screenings) text += screening + "\n";
  return text;
}

TEST(ExplainPage, TitlesAndGenreNamesAreDecodedAndEscaped) {
  fs::path folder = freshFolder("titles");
  writeFile(folder / "input.txt",
            testCaseFile({"<script>alert(1)</script> & \"Tom\"", "\xC8rni \x8A" "ak",
                          "\xC4\x8Cudež"},
                         "Ko<me>dija \x9A", 2));
  writeFile(folder / "submission.txt", submissionFile({"0 0 1080", "1 1 1080", "2 2 1200"}));
  ASSERT_EQ(0, runIn(folder, {"explain", "input.txt", "submission.txt", "page.html"}).status);
  const std::string page = readFile((folder / "page.html").string());
  EXPECT_EQ(std::string::npos, page.find("<script>"));
  EXPECT_NE(std::string::npos,
            page.find("&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;Tom&quot;"));
  // Windows-1250 bytes and UTF-8 both arrive as UTF-8.
  EXPECT_NE(std::string::npos, page.find("\xC4\x8Crni \xC5\xA0" "ak"));
  EXPECT_NE(std::string::npos, page.find("\xC4\x8Cudež"));
  EXPECT_NE(std::string::npos, page.find("Ko&lt;me&gt;dija \xC5\xA1"));
  EXPECT_NE(std::string::npos, page.find("<meta charset=\"utf-8\">"));
}

TEST(ExplainPage, AnInvalidScheduleListsItsMessagesAndMarksItsScreenings) {
  fs::path folder = freshFolder("invalid");
  writeFile(folder / "input.txt", testCaseFile({"A", "B"}, "Drama", 2));
  // Screenings 1 and 3 overlap; screening 2 is fine.
  writeFile(folder / "submission.txt", submissionFile({"0 5 600", "1 6 600", "1 5 650"}));
  ASSERT_EQ(0, runIn(folder, {"eval", "input.txt", "submission.txt", "report.txt"}).status);
  ProgramRun run = runIn(folder, {"explain", "input.txt", "submission.txt", "page.html", "--csv", "t.csv"});
  ASSERT_EQ(0, run.status);
  const std::string page = readFile((folder / "page.html").string());
  EXPECT_EQ("-1", elementText(page, "score"));
  EXPECT_EQ("V oddani datoteki so napake.", elementText(page, "verdict"));
  // Every message of the report is an item of the list.
  std::vector<std::string> report = linesOf(readFile((folder / "report.txt").string()));
  ASSERT_EQ(4u, report.size());
  EXPECT_NE(std::string::npos, page.find("<li>" + report[1] + "</li>"));
  // Both overlapping screenings are marked; the other one is not.
  EXPECT_EQ(2u, count(page, "fill=\"#e41a1c\""));
  EXPECT_EQ(1u, count(page, "fill=\"#9aa5b1\"><title>"));
  EXPECT_EQ(TableHeader + "\n", readFile((folder / "t.csv").string()));

  // Range errors mark their screening; one out of range is not drawn.
  writeFile(folder / "submission.txt", submissionFile({"0 5 600", "7 6 600", "1 365 1430"}));
  ASSERT_EQ(0, runIn(folder, {"explain", "input.txt", "submission.txt", "page.html"}).status);
  const std::string ranges = readFile((folder / "page.html").string());
  EXPECT_EQ(2u, count(ranges, "<li>Pri "));
  EXPECT_EQ(1u, count(ranges, "fill=\"#e41a1c\""));
  EXPECT_NE(std::string::npos, ranges.find("(niso narisane): 1."));

  // A submission for another test case names no screening.
  writeFile(folder / "submission.txt", submissionFile({"0 5 600"}, 4));
  ASSERT_EQ(0, runIn(folder, {"explain", "input.txt", "submission.txt", "page.html"}).status);
  const std::string other = readFile((folder / "page.html").string());
  EXPECT_NE(std::string::npos,
            other.find("<li>Vhodna datoteka je testni primer 1, izhodna pa primer 4.</li>"));
  EXPECT_EQ(0u, count(other, "fill=\"#e41a1c\""));
}

TEST(ExplainPage, AFormErrorOfEitherFileShowsTheError) {
  fs::path folder = freshFolder("form-errors");
  std::string input = testCaseFile({"A"}, "Drama", 2);
  writeFile(folder / "submission.txt", submissionFile({"0 5 600"}));
  // No seats in the test case.
  std::string noSeats = input;
  noSeats.replace(noSeats.find("\n4 2\n"), 5, "\n4 0\n");
  writeFile(folder / "input.txt", noSeats);
  ASSERT_EQ(0, runIn(folder, {"explain", "input.txt", "submission.txt", "page.html",
                              "--csv", "t.csv"}).status);
  std::string page = readFile((folder / "page.html").string());
  EXPECT_EQ("-1", elementText(page, "score"));
  EXPECT_EQ("Napaka v datoteki s testnim primerom.", elementText(page, "verdict"));
  std::string error = elementText(page, "error");
  EXPECT_EQ(0u, error.find("Napaka [")) << error;
  EXPECT_NE(std::string::npos, error.find("]: Assertion failure (nSeats &gt; 0)\n-1")) << error;
  EXPECT_EQ(TableHeader + "\n", readFile((folder / "t.csv").string()));

  // A form error of the submission, with its offending line quoted.
  writeFile(folder / "input.txt", input);
  writeFile(folder / "submission.txt", "123456\nTavo\n1\n1\n5 <10>\n");
  ASSERT_EQ(0, runIn(folder, {"explain", "input.txt", "submission.txt", "page.html"}).status);
  page = readFile((folder / "page.html").string());
  EXPECT_EQ("Napaka v oddani datoteki.", elementText(page, "verdict"));
  EXPECT_NE(std::string::npos,
            elementText(page, "error").find("]: vrstica za 1. predstavo bi morala vsebovati "
                                            "tri cela stevila (ne pa &quot;5 &lt;10&gt;&quot;)"));

  // A submission that does not exist.
  ASSERT_EQ(0, runIn(folder, {"explain", "input.txt", "missing.txt", "page.html"}).status);
  page = readFile((folder / "page.html").string());
  EXPECT_NE(std::string::npos, elementText(page, "error").find("]: manjka stevilka tekmovalca"));
}

TEST(ExplainCommandLine, WrongFormsPrintTheirUsageAndTouchNothing) {
  fs::path folder = freshFolder("usage");
  writeFile(folder / "input.txt", testCaseFile({"A"}, "Drama", 2));
  writeFile(folder / "submission.txt", submissionFile({"0 5 600"}));
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"explain"},
        {"explain", "input.txt", "submission.txt"},
        {"explain", "input.txt", "submission.txt", "page.html", "0"},
        {"explain", "input.txt", "submission.txt", "page.html", "abc"},
        {"explain", "input.txt", "submission.txt", "page.html", "--csv"},
        {"explain", "input.txt", "submission.txt", "--csv", "t.csv"},
        {"explain", "input.txt", "submission.txt", "page.html", "--csv", "t.csv", "--csv", "u.csv"}}) {
    SCOPED_TRACE(arguments.size());
    ProgramRun run = runIn(folder, arguments);
    EXPECT_EQ(1, run.status);
    EXPECT_EQ(ExplainUsage, run.standardOutput);
    EXPECT_FALSE(fs::exists(folder / "page.html"));
    EXPECT_FALSE(fs::exists(folder / "t.csv"));
  }
  for (const char* word : {"Explain", "explain2", "EXPLAIN", "explai"}) {
    ProgramRun run = runIn(folder, {word, "input.txt", "submission.txt", "page.html"});
    EXPECT_EQ(1, run.status) << word;
    EXPECT_EQ(EvalUsage, run.standardOutput) << word;
    EXPECT_FALSE(fs::exists(folder / "page.html")) << word;
  }
}

TEST(ExplainCommandLine, OutputsThatCannotBeWrittenEndInStatusTwoAndCreateNothing) {
  fs::path folder = freshFolder("outputs");
  writeFile(folder / "input.txt", testCaseFile({"A"}, "Drama", 2));
  const std::string submission = submissionFile({"0 5 600"});
  writeFile(folder / "submission.txt", submission);
  fs::create_directory(folder / "adir");
  for (const std::vector<std::string>& tail : std::vector<std::vector<std::string>>{
           {"missing/page.html"},
           {"page.html", "--csv", "missing/t.csv"},
           {"page.html", "--csv", "adir"},
           {"page.html", "--csv", "submission.txt/"},
           {"submission.txt"},
           {"submission.txt/."},
           {"page.html", "--csv", "submission.txt"},
           {"page.html", "--csv", "./input.txt"},
           {"page.html", "--csv", "page.html"},
           {"page.html", "--csv", "./page.html"}}) {
    std::vector<std::string> arguments = {"explain", "input.txt", "submission.txt"};
    arguments.insert(arguments.end(), tail.begin(), tail.end());
    SCOPED_TRACE(tail.back());
    ProgramRun run = runIn(folder, arguments);
    EXPECT_EQ(2, run.status);
    EXPECT_EQ(1, std::count(run.standardError.begin(), run.standardError.end(), '\n'))
        << run.standardError;
    EXPECT_EQ(submission, readFile((folder / "submission.txt").string()));
    EXPECT_FALSE(fs::exists(folder / "page.html"));
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
      EXPECT_EQ(std::string::npos, entry.path().filename().string().find("skedomat-"))
          << "a temporary file was left behind";
  }
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(2, runIn(folder, {"explain", "input.txt", "submission.txt", "/dev/full"}).status);
    EXPECT_EQ(2, runIn(folder, {"explain", "input.txt", "submission.txt", "page.html",
                                "--csv", "/dev/full"}).status);
  }
}

// A schedule of one-minute screenings at every minute of the year.
std::string everyMinuteSubmission(int caseNo) {
  std::string text = "123456\nTavo\n" + std::to_string(caseNo) + "\n527040\n";
  for (int day = 0; day < 366; ++day)
    for (int minute = 0; minute < 1440; ++minute)
      text += std::to_string((day + minute) % 3) + " " + std::to_string(day) + " " +
              std::to_string(minute) + "\n";
  return text;
}

TEST(ExplainLargeSchedule, EveryMinuteOfTheYearKeepsThePageSmall) {
  const uintmax_t FewMegabytes = 3u << 20;
  fs::path folder = freshFolder("large");
  writeFile(folder / "submission.txt", everyMinuteSubmission(1));
  writeFile(folder / "input.txt", testCaseFile({"One", "Two", "Three"}, "Drama", 1, 1));
  ASSERT_EQ(0, runIn(folder, {"eval", "input.txt", "submission.txt", "report.txt", "1"}).status);
  ASSERT_EQ(0, runIn(folder, {"explain", "input.txt", "submission.txt", "page.html", "1",
                              "--csv", "t.csv"}).status);
  EXPECT_LT(fs::file_size(folder / "page.html"), FewMegabytes);
  const std::string page = readFile((folder / "page.html").string());
  expectPageShows(evalFacts(readFile((folder / "report.txt").string())), page);
  EXPECT_NE(std::string::npos, page.find("ena celica na dan in uro"));
  EXPECT_EQ(527041u, linesOf(readFile((folder / "t.csv").string())).size());

  // The same schedule for a test case of two films: a third of the
  // screenings name a film that does not exist.
  writeFile(folder / "input.txt", testCaseFile({"One", "Two"}, "Drama", 1, 1));
  ASSERT_EQ(0, runIn(folder, {"explain", "input.txt", "submission.txt", "page.html"}).status);
  EXPECT_LT(fs::file_size(folder / "page.html"), FewMegabytes);
  const std::string invalid = readFile((folder / "page.html").string());
  EXPECT_EQ("-1", elementText(invalid, "score"));
  EXPECT_NE(std::string::npos, invalid.find("Prikazanih je prvih 500 od 175680 sporo"));
}

// The first Chromium on the PATH; empty when there is none.
std::string findChromium() {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return "";
  std::istringstream folders(path);
  for (std::string folder; std::getline(folders, folder, ':');)
    for (const char* name : {"chromium", "chromium-browser"}) {
      fs::path candidate = fs::path(folder) / name;
      std::error_code error;
      if (fs::is_regular_file(candidate, error)) return candidate.string();
    }
  return "";
}

std::vector<std::string> headlessArguments(const fs::path& profile) {
  return {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
          "--disable-background-networking", "--disable-component-update",
          "--disable-sync", "--user-data-dir=" + profile.string()};
}

// The rows of the films table in a rendered DOM, header row excluded.
std::vector<std::string> filmRows(const std::string& dom) {
  size_t begin = dom.find("id=\"films\"");
  size_t end = dom.find("</table>", begin);
  std::vector<std::string> rows;
  if (begin == std::string::npos || end == std::string::npos) return rows;
  const std::string table = dom.substr(begin, end - begin);
  for (size_t at = table.find("<tr>"); at != std::string::npos; at = table.find("<tr>", at + 1))
    rows.push_back(table.substr(at, table.find("</tr>", at) - at));
  if (!rows.empty()) rows.erase(rows.begin());
  return rows;
}

// The number in the last-but-one cell of a film row: its tickets in all.
double filmTickets(const std::string& row) {
  std::vector<std::string> cells;
  for (size_t at = row.find("<td"); at != std::string::npos; at = row.find("<td", at + 1)) {
    size_t begin = row.find('>', at) + 1;
    cells.push_back(row.substr(begin, row.find("</td>", begin) - begin));
  }
  return cells.size() >= 2 ? std::stod(cells[cells.size() - 2]) : -1;
}

TEST(ExplainInBrowser, TheBundledExampleRendersInHeadlessChromium) {
  const std::string chromium = findChromium();
  if (chromium.empty()) {
    if (requireBrowser) FAIL() << "no chromium on the PATH";
    GTEST_SKIP() << "no chromium on the PATH";
  }
  fs::path folder = freshFolder("browser");
  fs::copy(examplesDirectory, folder, fs::copy_options::recursive);
  ASSERT_EQ(0, runIn(folder, {"eval", "input.txt", "submission.txt", "report.txt"}).status);
  ASSERT_EQ(0, runIn(folder, {"explain", "input.txt", "submission.txt", "page.html",
                              "--csv", "table.csv"}).status);
  const std::string url = "file://" + fs::absolute(folder / "page.html").string();

  std::vector<std::string> arguments = headlessArguments(freshFolder("browser-profile-dom"));
  arguments.insert(arguments.end(), {"--dump-dom", url});
  ProgramRun dump = runIn(folder, arguments, chromium);
  ASSERT_EQ(0, dump.status) << dump.standardError;
  const std::string& dom = dump.standardOutput;
  // The parser's own additions show that this is the rendered DOM.
  ASSERT_NE(std::string::npos, dom.find("<tbody>"));
  EvalFacts facts = evalFacts(readFile((folder / "report.txt").string()));
  ASSERT_FALSE(facts.score.empty());
  expectPageShows(facts, dom);

  std::set<std::string> films;
  for (const std::vector<std::string>& row : tableRows(readFile((folder / "table.csv").string())))
    films.insert(row.at(1));
  std::vector<std::string> rows = filmRows(dom);
  ASSERT_EQ(films.size(), rows.size());
  double tickets = 0;
  for (const std::string& row : rows) tickets += filmTickets(row);
  EXPECT_NEAR(std::stod(facts.score), tickets, 0.005 * static_cast<double>(rows.size()) + 1e-3);
  EXPECT_NE(std::string::npos, dom.find("Night Train to Ljubljana"));

  // Absolute: the browser runs in `folder`, which may be a relative path.
  const fs::path screenshot = fs::absolute(folder / "explain.png");
  arguments = headlessArguments(freshFolder("browser-profile-shot"));
  arguments.insert(arguments.end(), {"--hide-scrollbars", "--window-size=1200,2200",
                                     "--screenshot=" + screenshot.string(), url});
  ProgramRun shot = runIn(folder, arguments, chromium);
  ASSERT_EQ(0, shot.status) << shot.standardError;
  const std::string png = readFile(screenshot.string());
  ASSERT_GT(png.size(), 10000u);
  EXPECT_EQ("\x89PNG\r\n\x1a\n", png.substr(0, 8));
}

TEST(ExplainInBrowser, TheBatchSummaryRendersEveryCaseAndEveryLinkResolves) {
  const std::string chromium = findChromium();
  if (chromium.empty()) {
    if (requireBrowser) FAIL() << "no chromium on the PATH";
    GTEST_SKIP() << "no chromium on the PATH";
  }
  fs::path folder = freshFolder("browser-batch");
  const int nCases = 12;
  ASSERT_EQ(0, runIn(folder, {"generate", "--seeds", "0-" + std::to_string(nCases - 1),
                              "--dir", "cases", "--viewers", "300"}).status);
  fs::create_directories(folder / "subs");
  for (int seed = 0; seed < nCases; ++seed) {
    const std::string name = (seed < 10 ? "000" : "00") + std::to_string(seed) + ".txt";
    ASSERT_EQ(0, runIn(folder, {"baseline", "cases/" + name, "subs/" + name}).status);
  }
  ASSERT_EQ(0, runIn(folder, {"batch", "cases", "subs", "--runs", "1", "--best", "best.json",
                              "--explain", "site/pages", "--html", "site/index.html",
                              "--results", "results.jsonl"}).status);
  const std::string url = "file://" + fs::absolute(folder / "site" / "index.html").string();
  std::vector<std::string> arguments = headlessArguments(freshFolder("browser-profile-batch"));
  arguments.insert(arguments.end(), {"--dump-dom", url});
  ProgramRun dump = runIn(folder, arguments, chromium);
  ASSERT_EQ(0, dump.status) << dump.standardError;
  const std::string& dom = dump.standardOutput;
  ASSERT_NE(std::string::npos, dom.find("<tbody>"));
  EXPECT_EQ(static_cast<size_t>(nCases), countOccurrences(dom, "<tr class=\"case\">"));
  // The total shown is the results file's.
  const std::string results = readFile((folder / "results.jsonl").string());
  const size_t mean = results.find("\"relative_mean\":");
  ASSERT_NE(std::string::npos, mean);
  const double relativeMean = std::stod(results.substr(mean + 16));
  EXPECT_NEAR(relativeMean, std::stod(elementText(dom, "relative-mean")), 1e-6);
  // Every link is a page in the folder, and nothing is fetched from anywhere.
  size_t links = 0;
  for (size_t at = dom.find("href=\""); at != std::string::npos; at = dom.find("href=\"", at + 1)) {
    const size_t begin = at + 6;
    const std::string target = dom.substr(begin, dom.find('"', begin) - begin);
    EXPECT_TRUE(fs::is_regular_file(folder / "site" / target)) << target;
    ++links;
  }
  EXPECT_GE(links, static_cast<size_t>(nCases));
  EXPECT_EQ(std::string::npos, dom.find("http"));
  EXPECT_EQ(std::string::npos, dom.find(" src="));

  // Compared with itself: the verdict, the compared file and a bar per case.
  ASSERT_EQ(0, runIn(folder, {"batch", "--page", "site/compared.html", "results.jsonl",
                              "--compare", "results.jsonl"}).status);
  arguments = headlessArguments(freshFolder("browser-profile-compared"));
  arguments.insert(arguments.end(), {"--dump-dom", "file://" + fs::absolute(
                                         folder / "site" / "compared.html").string()});
  ProgramRun compared = runIn(folder, arguments, chromium);
  ASSERT_EQ(0, compared.status) << compared.standardError;
  EXPECT_EQ(0u, elementText(compared.standardOutput, "verdict").rfind("Nova razlicica ni", 0));
  EXPECT_EQ("results.jsonl", elementText(compared.standardOutput, "compared-file"));
  EXPECT_EQ(static_cast<size_t>(nCases),
            countOccurrences(compared.standardOutput, "<rect class=\"change-bar\""));
  // An explain page made for the batch links back to its summary.
  ASSERT_EQ(0, runIn(folder, {"explain", "cases/0000.txt", "subs/0000.txt",
                              "site/pages/back.html", "1", "--summary", "site/compared.html"})
                   .status);
  const std::string back = readFile((folder / "site" / "pages" / "back.html").string());
  EXPECT_NE(std::string::npos,
            back.find("<a id=\"summary-link\" href=\"../compared.html\">&larr; nazaj na povzetek"));
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc == 6 && std::string(argv[5]) == "--require-browser") {
    requireBrowser = true;
    --argc;
  }
  if (argc != 5) {
    fprintf(stderr,
            "usage: %s SKEDOMAT DATA_DIRECTORY EXAMPLES_DIRECTORY SCRATCH_DIRECTORY "
            "[--require-browser]\n",
            argv[0]);
    return 2;
  }
  skedomatPath = argv[1];
  dataDirectory = argv[2];
  examplesDirectory = argv[3];
  scratchDirectory = argv[4];
  return RUN_ALL_TESTS();
}
