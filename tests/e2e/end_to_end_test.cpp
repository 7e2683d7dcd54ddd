// Runs the built evaluator on every case folder of the test data and compares
// its report, exit status and standard output with the expected ones.
//
// Usage: skedomat_e2e_tests SKEDOMAT DATA_DIRECTORY SCRATCH_DIRECTORY

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "case_runner.h"
#include "spawn.h"

namespace fs = std::filesystem;

namespace {

std::string skedomatPath;
std::string dataDirectory;
std::string scratchDirectory;

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
    EXPECT_EQ(readFile((caseDirectory / "stdout.txt").string()), outcome.standardOutput);
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
  EXPECT_EQ(normaliseReport(readFile(expected.string())), normaliseReport(outcome.report));
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
  fs::copy(fs::path(dataDirectory) / "driver" / "submission_missing" / "input.txt", work);
  fs::copy(fs::path(dataDirectory) / "driver" / "report_folder_missing" / "submission.txt",
           work);
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
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  fs::path work = prepareWorkFolder("full");
  int status = runProgram(fs::absolute(skedomatPath).string(),
                          {"eval", "input.txt", "submission.txt", "/dev/full"},
                          work.string(), (work / ".stdout").string(),
                          (work / ".stderr").string());
  EXPECT_EQ(2, status);
  std::string message = readFile((work / ".stderr").string());
  EXPECT_EQ(1, std::count(message.begin(), message.end(), '\n')) << message;
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
