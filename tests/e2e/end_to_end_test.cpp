// Runs the built evaluator on every case folder of the test data and compares
// its report, exit status and standard output with the expected ones.
//
// Usage: skedomat_e2e_tests SKEDOMAT DATA_DIRECTORY SCRATCH_DIRECTORY

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "case_runner.h"
#include "spawn.h"

namespace fs = std::filesystem;

namespace {

std::string skedomatPath;
std::string dataDirectory;
std::string scratchDirectory;

// Whether the evaluator under test is the Windows build (set by the build).
const bool OnWindows = SKEDOMAT_E2E_ON_WINDOWS != 0;
// How the evaluator ends the lines of its report and of its standard output
// there; the expected files hold LF line ends.
const std::string TextLineEnd = OnWindows ? "\r\n" : "\n";

int expectedStatus(const fs::path& caseDirectory) {
  fs::path statusPath = caseDirectory / "status";
  return fs::exists(statusPath) ? std::stoi(readFile(statusPath.string())) : 0;
}

// The report path of a case that must leave it as it was: missing, or holding
// what it held before the run.
void expectReportUntouched(const fs::path& caseDirectory, const CaseOutcome& outcome) {
  std::vector<std::string> arguments = caseArguments(caseDirectory.string());
  if (arguments.size() < 4) {
    EXPECT_FALSE(outcome.reportExists);
    return;
  }
  fs::path original = caseDirectory / arguments[3];
  if (fs::exists(original)) {
    EXPECT_EQ(readFile(original.string()), outcome.report) << "report path was changed";
  } else {
    EXPECT_FALSE(outcome.reportExists) << "a report file was created";
  }
}

void checkCase(const std::string& name) {
  fs::path caseDirectory = fs::path(dataDirectory) / name;
  CaseOutcome outcome = runCase(skedomatPath, caseDirectory.string(),
                                (fs::path(scratchDirectory) / name).string());
  int status = expectedStatus(caseDirectory);
  EXPECT_EQ(status, outcome.status);
  if (fs::exists(caseDirectory / "stdout.txt")) {
    EXPECT_EQ(withLineEnds(readFile((caseDirectory / "stdout.txt").string()), TextLineEnd),
              outcome.standardOutput);
  }
  if (fs::exists(caseDirectory / "stderr.txt")) {
    EXPECT_EQ(withLineEnds(readFile((caseDirectory / "stderr.txt").string()), TextLineEnd),
              outcome.standardError);
  }
  if (status == 2) {
    EXPECT_EQ(1, std::count(outcome.standardError.begin(),
                            outcome.standardError.end(), '\n'))
        << "expected one line on standard error, got: " << outcome.standardError;
  }
  fs::path expected = caseDirectory / "expected.txt";
  if (!fs::exists(expected)) {
    expectReportUntouched(caseDirectory, outcome);
    return;
  }
  ASSERT_TRUE(outcome.reportExists) << "no report was written";
  EXPECT_EQ(normaliseReport(readFile(expected.string())),
            normaliseReport(outcome.report, TextLineEnd));
}

class CaseTest : public testing::Test {
 public:
  explicit CaseTest(std::string name) : name_(std::move(name)) {}
  void TestBody() override { checkCase(name_); }

 private:
  std::string name_;
};

std::string testName(const std::string& caseName) {
  std::string name = caseName;
  for (char& c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

// A fresh folder in the scratch space holding the inputs of one driver case.
fs::path prepareWorkFolder(const std::string& name) {
  fs::path work = fs::path(scratchDirectory) / "special" / name;
  fs::remove_all(work);
  fs::create_directories(work);
  fs::copy_file(fs::path(dataDirectory) / "driver" / "submission_missing" / "input.txt",
                work / "input.txt");
  fs::copy_file(
      fs::path(dataDirectory) / "driver" / "report_folder_missing" / "submission.txt",
      work / "submission.txt");
  return work;
}

TEST(ReportPath, ALinkToTheSubmissionIsRefusedAndLeavesItUntouched) {
  fs::path work = prepareWorkFolder("link");
  std::string before = readFile((work / "submission.txt").string());
  std::error_code error;
  fs::create_symlink("submission.txt", work / "link.txt", error);
  if (error) GTEST_SKIP() << "cannot create links here";
  int status = runProgram(fs::absolute(skedomatPath).string(),
                          {"eval", "input.txt", "submission.txt", "link.txt"},
                          work.string(), (work / ".stdout").string(),
                          (work / ".stderr").string());
  EXPECT_EQ(2, status);
  EXPECT_EQ(before, readFile((work / "submission.txt").string()));
}

TEST(ReportPath, AFullDiskIsNoSuccess) {
  if (OnWindows || !fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  fs::path work = prepareWorkFolder("full");
  int status = runProgram(fs::absolute(skedomatPath).string(),
                          {"eval", "input.txt", "submission.txt", "/dev/full"},
                          work.string(), (work / ".stdout").string(),
                          (work / ".stderr").string());
  EXPECT_EQ(2, status);
  std::string message = readFile((work / ".stderr").string());
  EXPECT_EQ(1, std::count(message.begin(), message.end(), '\n')) << message;
}

// Files named as the evaluator names its temporary files, in `folder`.
int temporaryFiles(const fs::path& folder) {
  int count = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().find(".skedomat-") != std::string::npos) ++count;
  return count;
}

int runWorkFolder(const fs::path& work, const std::vector<std::string>& arguments) {
  return runProgram(fs::absolute(skedomatPath).string(), arguments, work.string(),
                    (work / ".stdout").string(), (work / ".stderr").string());
}

TEST(ReportPath, NoSpellingOfAnInputIsOverwritten) {
  fs::path work = prepareWorkFolder("spellings");
  fs::create_directory(work / "d");
  const std::string input = readFile((work / "input.txt").string());
  const std::string submission = readFile((work / "submission.txt").string());
  std::vector<std::vector<std::string>> spellings = {
      {"input.txt/", "submission.txt", "input.txt"},
      {"input.txt", "submission.txt/.", "submission.txt"},
      {"input.txt", "./submission.txt/", "submission.txt"},
      {"d/../input.txt/", "submission.txt", "input.txt"},
      {"input.txt", "submission.txt", "d/../submission.txt"},
      {"input.txt", "submission.txt", "./input.txt"},
      {"input.txt", "submission.txt", "input.txt/"},
      {"input.txt", "submission.txt", "input.txt/."},
      {"input.txt", "submission.txt", "d/.."}};
  std::error_code error;
  fs::create_hard_link(work / "submission.txt", work / "hard.txt", error);
  if (!error) spellings.push_back({"input.txt", "submission.txt", "hard.txt"});
  if (OnWindows) {
    spellings.push_back({"input.txt", "submission.txt", "INPUT.TXT"});
    spellings.push_back({"input.txt\\", "submission.txt", "input.txt"});
    spellings.push_back({"input.txt", "submission.txt", "d\\..\\Submission.txt"});
  }
  for (const std::vector<std::string>& paths : spellings) {
    SCOPED_TRACE(paths[0] + " " + paths[1] + " " + paths[2]);
    EXPECT_EQ(2, runWorkFolder(work, {"eval", paths[0], paths[1], paths[2]}));
    std::string message = readFile((work / ".stderr").string());
    EXPECT_EQ(1, std::count(message.begin(), message.end(), '\n')) << message;
    EXPECT_EQ(input, readFile((work / "input.txt").string()));
    EXPECT_EQ(submission, readFile((work / "submission.txt").string()));
    EXPECT_EQ(0, temporaryFiles(work));
  }
}

TEST(ReportPath, AnOpenTargetIsReplacedWholeOrKeptWhole) {
  fs::path work = prepareWorkFolder("open_target");
  ASSERT_EQ(0, runWorkFolder(work, {"eval", "input.txt", "submission.txt", "new.txt"}));
  const std::string whole = normaliseReport(readFile((work / "new.txt").string()), TextLineEnd);
  const std::string previous = "previous\n-1\n";
  std::ofstream(work / "report.txt", std::ios::binary) << previous;
  std::ifstream reader(work / "report.txt", std::ios::binary);
  const int status = runWorkFolder(work, {"eval", "input.txt", "submission.txt", "report.txt"});
  // The system may refuse to replace a file that another process holds open.
  if (status == 2) {
    EXPECT_EQ(previous, readFile((work / "report.txt").string()));
  } else {
    EXPECT_EQ(0, status);
    EXPECT_EQ(whole, normaliseReport(readFile((work / "report.txt").string()), TextLineEnd));
  }
  EXPECT_EQ(0, temporaryFiles(work));
  reader.close();

  // A file that may not be written is left as it is, unless the user may
  // write any file (an administrator).
  fs::permissions(work / "report.txt", fs::perms::owner_write | fs::perms::group_write |
                                           fs::perms::others_write,
                  fs::perm_options::remove);
  if (!std::ofstream(work / "report.txt", std::ios::app)) {
    EXPECT_EQ(2, runWorkFolder(work, {"eval", "input.txt", "submission.txt", "report.txt"}));
    EXPECT_EQ(0, temporaryFiles(work));
  }
  fs::permissions(work / "report.txt", fs::perms::owner_write, fs::perm_options::add);
}

TEST(ReportPath, ALinkAsTheTargetStaysALinkToTheNewReport) {
  fs::path work = prepareWorkFolder("link_target");
  fs::create_directory(work / "reports");
  std::ofstream(work / "reports" / "real.txt", std::ios::binary) << "previous\n-1\n";
  std::error_code error;
  fs::create_symlink("reports/real.txt", work / "link.txt", error);
  if (error) GTEST_SKIP() << "cannot create links here";
  ASSERT_EQ(0, runWorkFolder(work, {"eval", "input.txt", "submission.txt", "link.txt"}));
  EXPECT_TRUE(fs::is_symlink(work / "link.txt"));
  EXPECT_EQ("OK" + TextLineEnd, readFile((work / "reports" / "real.txt").string()).substr(0, 2 + TextLineEnd.size()));
  EXPECT_EQ(0, temporaryFiles(work / "reports"));
}

// Generated files are the same bytes on every platform: a few seeds'
// outputs are kept beside the test data.
TEST(Generate, SeedsAndTheBaselineGiveTheKeptBytesAndAScore) {
  const fs::path kept = fs::path(dataDirectory).parent_path() / "generated";
  fs::path work = fs::path(scratchDirectory) / "special" / "generate";
  fs::remove_all(work);
  fs::create_directories(work);
  ASSERT_EQ(0, runWorkFolder(work, {"generate", "--seeds", "19-19", "--dir", "cases"}));
  ASSERT_EQ(0, runWorkFolder(work, {"generate", "7", "small.txt", "--films", "12",
                                    "--viewers", "40", "--seats", "30", "--case", "5"}));
  ASSERT_EQ(0, runWorkFolder(work, {"baseline", "cases/0019.txt", "baseline.txt"}));
  EXPECT_EQ(readFile((kept / "0019.txt").string()), readFile((work / "cases" / "0019.txt").string()));
  EXPECT_EQ(readFile((kept / "small_7.txt").string()), readFile((work / "small.txt").string()));
  EXPECT_EQ(readFile((kept / "baseline_0019.txt").string()),
            readFile((work / "baseline.txt").string()));
  ASSERT_EQ(0, runWorkFolder(work, {"eval", "cases/0019.txt", "baseline.txt", "report.txt"}));
  EXPECT_EQ("OK" + TextLineEnd, readFile((work / "report.txt").string()).substr(0, 2 + TextLineEnd.size()));
  // A baseline never replaces its own test case.
  EXPECT_EQ(2, runWorkFolder(work, {"baseline", "small.txt", "./small.txt"}));
  EXPECT_EQ(readFile((kept / "small_7.txt").string()), readFile((work / "small.txt").string()));
}

TEST(CommandLine, HelpListsEveryCommandAndEachPrintsItsOwnUsage) {
  fs::path work = prepareWorkFolder("help");
  ASSERT_EQ(0, runWorkFolder(work, {"help"}));
  const std::string help = readFile((work / ".stdout").string());
  for (const std::string name : {"eval", "explain", "generate", "baseline", "batch"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(std::string::npos, help.find("Uporaba: Skedomat " + name)) << help;
    EXPECT_EQ(0, runWorkFolder(work, {"help", name}));
    EXPECT_NE(std::string::npos,
              readFile((work / ".stdout").string()).find("Uporaba: Skedomat " + name));
    EXPECT_EQ(1, runWorkFolder(work, {name}));
    EXPECT_EQ(0u, readFile((work / ".stdout").string()).find("Uporaba: Skedomat " + name));
  }
  EXPECT_EQ(1, runWorkFolder(work, {"help", "nothing"}));
  ASSERT_EQ(0, runWorkFolder(work, {"--version"}));
  EXPECT_EQ(0u, readFile((work / ".stdout").string()).find("Skedomat "));
}

// The files of `folder` but the captured standard streams.
std::vector<std::string> filesBesideStreams(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).generic_string();
    if (name != ".stdout" && name != ".stderr") names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A wrong command line touches no file, prints its usage and names the wrong
// word in one line on standard error.
TEST(CommandLine, EveryWrongCommandLineSaysWhatWasWrong) {
  struct WrongLine {
    std::vector<std::string> arguments;
    std::string reason;       // the line on standard error, without "Skedomat: "
    std::string usageStart;   // how standard output starts
  };
  const std::string evalUsage = "Uporaba: Skedomat eval ";
  const std::string explainUsage = "Uporaba: Skedomat explain ";
  const std::string generateUsage = "Uporaba: Skedomat generate ";
  const std::vector<WrongLine> table = {
      {{}, "manjka ukaz", evalUsage},
      {{"evla", "input.txt", "submission.txt", "report.txt"},
       "neznan ukaz \"evla\" (morda \"eval\"?)", evalUsage},
      {{"help", "nope"}, "neznan ukaz \"nope\"", "Skedomat: ocenjevalnik"},
      {{"eval", "input.txt", "submission.txt"}, "manjka datoteka za porocilo", evalUsage},
      {{"eval", "input.txt", "submission.txt", "report.txt", "x"},
       "nSimulacij \"x\" ni pozitivno celo stevilo", evalUsage},
      {{"explain", "input.txt", "submission.txt", "page.html", "--cvs", "t.csv"},
       "neznana moznost \"--cvs\" (morda \"--csv\"?)", explainUsage},
      {{"explain", "input.txt", "submission.txt", "page.html", "3", "extra"},
       "odvecna beseda \"extra\"", explainUsage},
      {{"explain", "input.txt", "submission.txt", "page.html", "--csv"},
       "moznosti \"--csv\" manjka vrednost", explainUsage},
      {{"generate", "1", "case.txt", "--viewers", "0"},
       "vrednost \"0\" za \"--viewers\": dovoljeno je celo stevilo od 1 do 10000000",
       generateUsage},
      {{"generate", "1", "case.txt", "--viewers", "10000001"},
       "vrednost \"10000001\" za \"--viewers\": dovoljeno je celo stevilo od 1 do 10000000",
       generateUsage},
      {{"generate", "1", "case.txt", "--films", "100001"},
       "vrednost \"100001\" za \"--films\": dovoljeno je celo stevilo od 0 do 100000",
       generateUsage},
      {{"generate", "1", "case.txt", "--veiwers", "10"},
       "neznana moznost \"--veiwers\" (morda \"--viewers\"?)", generateUsage},
      {{"generate", "--seeds", "1-3"}, "moznost \"--seeds\" potrebuje \"--dir\"",
       generateUsage},
      {{"baseline", "input.txt", "out.txt", "extra"}, "odvecna beseda \"extra\"",
       "Uporaba: Skedomat baseline "},
  };
  fs::path work = prepareWorkFolder("wrong_command_lines");
  const std::vector<std::string> files = filesBesideStreams(work);
  for (const WrongLine& line : table) {
    std::string command;
    for (const std::string& word : line.arguments) command += " " + word;
    SCOPED_TRACE(command);
    EXPECT_EQ(1, runWorkFolder(work, line.arguments));
    EXPECT_EQ(withLineEnds("Skedomat: " + line.reason + "\n", TextLineEnd),
              readFile((work / ".stderr").string()));
    EXPECT_EQ(0u, readFile((work / ".stdout").string()).find(line.usageStart));
    EXPECT_EQ(files, filesBesideStreams(work));
  }

  // An input that cannot be read is no usage error: one line names it.
  EXPECT_EQ(2, runWorkFolder(work, {"baseline", "missing.txt", "out.txt"}));
  const std::string message = readFile((work / ".stderr").string());
  EXPECT_EQ(1, std::count(message.begin(), message.end(), '\n')) << message;
  EXPECT_NE(std::string::npos, message.find("\"missing.txt\"")) << message;
  EXPECT_EQ("", readFile((work / ".stdout").string()));
  EXPECT_EQ(files, filesBesideStreams(work));
}

// Reads a whole file named by a path in any script.
std::string readFileAt(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in),
                     std::istreambuf_iterator<char>());
}

int runIn(const fs::path& work, const std::vector<std::string>& arguments) {
  return runProgram(fs::absolute(skedomatPath).string(), arguments, work.string(),
                    (work / ".stdout").string(), (work / ".stderr").string());
}

TEST(Paths, NamesInAnyScriptWorkWhateverTheCodePage) {
  fs::path plain = prepareWorkFolder("ascii_names");
  ASSERT_EQ(0, runIn(plain, {"eval", "input.txt", "submission.txt", "report.txt"}));

  // UTF-8: "vhod-č", "oddaja-š", "poročila λ", "izid-ž文".
  const std::string input = "vhod-\xC4\x8D.txt";
  const std::string submission = "oddaja-\xC5\xA1.txt";
  const std::string folder = "poro\xC4\x8Dila \xCE\xBB";
  const std::string report = folder + "/izid-\xC5\xBE\xE6\x96\x87.txt";
  fs::path work = prepareWorkFolder("unicode_names");
  fs::rename(work / "input.txt", work / fs::u8path(input));
  fs::rename(work / "submission.txt", work / fs::u8path(submission));
  fs::create_directory(work / fs::u8path(folder));
  ASSERT_EQ(0, runIn(work, {"eval", input, submission, report}));

  std::string written = readFileAt(work / fs::u8path(report));
  EXPECT_EQ("OK" + TextLineEnd, written.substr(0, 2 + TextLineEnd.size())) << written;
  EXPECT_EQ(normaliseReport(readFileAt(plain / "report.txt"), TextLineEnd),
            normaliseReport(written, TextLineEnd));
}

// Writes a test case of 20 films and `nViewers` viewers, and a submission
// that screens the films six times a day all year round.
void writeBusyYear(const fs::path& work, int nViewers) {
  const int nFilms = 20;
  std::ofstream testCase(work / "input.txt", std::ios::binary);
  testCase << "Tavo\n1\n" << nFilms << "\n";
  for (int film = 0; film < nFilms; film++)
    testCase << film << "\ntt" << 1000000 + film << "\nFilm " << film << "\n100\n"
             << 5 + film % 5 << ".5\n1\n" << film % 8 << "\nGenre\n";
  testCase << nViewers << " 80\n";
  for (int viewer = 0; viewer < nViewers; viewer++)
    testCase << 10 + viewer % 12 << ":" << 10 + viewer % 50 << "\n1\n" << viewer % 8
             << "\nGenre\n";

  const int daysOfYear = 365, screeningsPerDay = 6;
  std::ofstream schedule(work / "submission.txt", std::ios::binary);
  schedule << "123456\nTavo\n1\n" << daysOfYear * screeningsPerDay << "\n";
  for (int day = 0; day < daysOfYear; day++)
    for (int slot = 0; slot < screeningsPerDay; slot++)
      schedule << (day + slot) % nFilms << " " << day << " " << 600 + 120 * slot << "\n";
}

TEST(CpuTime, ALongEvaluationShowsTheUserTimeItTook) {
  // 3 runs of 2190 screenings for 3000 viewers, 20 million viewer-screenings:
  // well above the 15.6 ms in which Windows counts CPU time.
  fs::path work = fs::path(scratchDirectory) / "special" / "cpu_time";
  fs::remove_all(work);
  fs::create_directories(work);
  writeBusyYear(work, 3000);
  ASSERT_EQ(0, runIn(work, {"eval", "input.txt", "submission.txt", "report.txt"}));
  std::string report = readFileAt(work / "report.txt");
  ASSERT_EQ(0, report.compare(0, 2, "OK")) << report;
  EXPECT_GT(reportedCpuSeconds(report), 0.0) << report;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 4) {
    fprintf(stderr, "usage: %s SKEDOMAT DATA_DIRECTORY SCRATCH_DIRECTORY\n", argv[0]);
    return 2;
  }
  skedomatPath = argv[1];
  dataDirectory = argv[2];
  scratchDirectory = argv[3];
  for (const std::string& name : findCases(dataDirectory)) {
    testing::RegisterTest("Case", testName(name).c_str(), nullptr, name.c_str(),
                          __FILE__, __LINE__,
                          [name]() -> testing::Test* { return new CaseTest(name); });
  }
  return RUN_ALL_TESTS();
}
