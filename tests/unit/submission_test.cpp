#include "submission/submission.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/assertion.h"
#include "base/input_file.h"

using namespace std::string_literals;

namespace {

// A file in the system's temporary folder holding `content` byte for byte,
// removed again when the object goes.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& content) : path_(uniquePath()) {
    std::ofstream out(path_, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  ~TemporaryFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  std::string path() const { return path_.string(); }

  // A name that no other test, nor another run of the tests, is using.
  static std::filesystem::path uniquePath() {
    static std::atomic<int> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::filesystem::temp_directory_path() /
           ("skedomat_submission_" + std::to_string(now) + "_" +
            std::to_string(counter++) + ".txt");
  }

 private:
  std::filesystem::path path_;
};

// Reads a submission whose file holds `content`; a form error propagates.
Submission readSubmission(const std::string& content) {
  TemporaryFile file(content);
  InputFile is(file.path());
  Submission submission;
  submission.read(is);
  return submission;
}

// The message of the form error that reading `content` raises, or a marker
// text that no expected message equals when reading succeeds.
std::string formErrorOf(const std::string& content) {
  try {
    readSubmission(content);
  } catch (const EAssertion& error) {
    EXPECT_NE(std::string::npos, error.file.find("submission.cpp"));
    EXPECT_GT(error.line, 0);
    return error.message;
  }
  return "<read without error>";
}

// A well-formed head: contestant, task name and case number, before line 4.
const std::string Head = "123456\nTavo\n3\n";

std::string screeningLineError(int k, const std::string& line) {
  return "vrstica za " + std::to_string(k) +
         ". predstavo bi morala vsebovati tri cela stevila (ne pa \"" + line +
         "\")";
}

TEST(SubmissionReadContestantLine, MissingFileOrEmptyFileHasNoContestant) {
  Submission submission;
  InputFile missing(TemporaryFile::uniquePath().string());
  try {
    submission.read(missing);
    ADD_FAILURE() << "a missing file was read";
  } catch (const EAssertion& error) {
    EXPECT_EQ("manjka stevilka tekmovalca", error.message);
  }
  EXPECT_EQ("manjka stevilka tekmovalca", formErrorOf(""));
}

TEST(SubmissionReadContestantLine, SixCharactersBeginningWithAnInteger) {
  const std::string rest = "Tavo\n3\n0\n";
  EXPECT_EQ(12345, readSubmission("012345\n" + rest).contestantNo);
  EXPECT_EQ(-12345, readSubmission("-12345\n" + rest).contestantNo);
  EXPECT_EQ(12345, readSubmission(" 12345\n" + rest).contestantNo);
  EXPECT_EQ(12, readSubmission("12ab56\n" + rest).contestantNo);
  // Six bytes, though only five characters in UTF-8.
  EXPECT_EQ(1234, readSubmission("1234\xc4\x8d\n" + rest).contestantNo);
}

TEST(SubmissionReadContestantLine, WrongLengthOrNoInteger) {
  const std::string rest = "Tavo\n3\n0\n";
  const std::string wrongLength = "stevilka tekmovalca bi morala imeti 6 stevk";
  EXPECT_EQ(wrongLength, formErrorOf("12345\n" + rest));
  EXPECT_EQ(wrongLength, formErrorOf("1234567\n" + rest));
  EXPECT_EQ(wrongLength, formErrorOf("\n" + rest));
  // The length is checked before the number, and counts bytes.
  EXPECT_EQ(wrongLength, formErrorOf("abcde\n" + rest));
  EXPECT_EQ(wrongLength, formErrorOf("12345\xc4\x8d\n" + rest));
  EXPECT_EQ(
      "v prvi vrstici bi morala biti stevilka tekmovalca, ne pa \"abcdef\"",
      formErrorOf("abcdef\n" + rest));
  EXPECT_EQ(
      "v prvi vrstici bi morala biti stevilka tekmovalca, ne pa \"      \"",
      formErrorOf("      \n" + rest));
}

TEST(SubmissionReadTaskName, MissingOrNotExactlyTavo) {
  EXPECT_EQ("manjka druga vrstica", formErrorOf("123456\n"));
  EXPECT_EQ("manjka druga vrstica", formErrorOf("123456"));
  for (const std::string line : {"tavo", "Tavo ", "TAVO", " Tavo", "", "Tav"}) {
    EXPECT_EQ("v drugi vrstici bi moral biti niz \"Tavo\", ne pa \"" + line +
                  "\"",
              formErrorOf("123456\n" + line + "\n3\n0\n"));
  }
}

TEST(SubmissionReadCaseNumber, MissingOrNoInteger) {
  EXPECT_EQ("manjka tretja vrstica", formErrorOf("123456\nTavo\n"));
  const std::string noCase =
      "v tretji vrstici bi morala biti stevilka testnega primera, ne pa ";
  EXPECT_EQ(noCase + "\"\"", formErrorOf("123456\nTavo\n\n0\n"));
  EXPECT_EQ(noCase + "\"primer 7\"",
            formErrorOf("123456\nTavo\nprimer 7\n0\n"));
  // Outside the 32-bit range no number is converted.
  EXPECT_EQ(noCase + "\"99999999999\"",
            formErrorOf("123456\nTavo\n99999999999\n0\n"));
}

TEST(SubmissionReadCaseNumber, TextAfterTheNumberIsIgnored) {
  EXPECT_EQ(7, readSubmission("123456\nTavo\n7 (primer)\n0\n").caseNo);
  EXPECT_EQ(-4, readSubmission("123456\nTavo\n  -4\n0\n").caseNo);
  EXPECT_EQ(2147483647,
            readSubmission("123456\nTavo\n2147483647\n0\n").caseNo);
}

TEST(SubmissionReadCount, MissingNoIntegerOrNegative) {
  EXPECT_EQ("manjka cetrta vrstica (stevilo predstav)", formErrorOf(Head));
  EXPECT_EQ("v cetrti vrstici bi moralo biti stevilo predstav, ne pa \"x2\"",
            formErrorOf(Head + "x2\n"));
  EXPECT_EQ("v cetrti vrstici bi moralo biti stevilo predstav, ne pa \"\"",
            formErrorOf(Head + "\n"));
  EXPECT_EQ("stevilo predstav bi moralo biti vecje ali enako 0",
            formErrorOf(Head + "-1\n"));
  EXPECT_EQ("stevilo predstav bi moralo biti vecje ali enako 0",
            formErrorOf(Head + "-2147483648\n"));
}

TEST(SubmissionReadCount, ZeroIsACompleteEmptySchedule) {
  Submission submission = readSubmission(Head + "0\n");
  EXPECT_TRUE(submission.screenings.empty());
  EXPECT_TRUE(submission.order.empty());
  EXPECT_EQ(3, submission.caseNo);
  EXPECT_EQ(123456, submission.contestantNo);
}

TEST(SubmissionReadCount, HugeCountFailsAtTheFirstMissingLine) {
  // Reserving space for the count would exhaust memory before this error.
  EXPECT_EQ("manjka podatek o 1. predstavi",
            formErrorOf(Head + "2000000000\n"));
  EXPECT_EQ("manjka podatek o 2. predstavi",
            formErrorOf(Head + "2147483647\n0 0 0\n"));
}

TEST(SubmissionReadScreenings, ThreeIntegersInFileOrder) {
  Submission submission = readSubmission(
      Head +
      "4\n3 120 1080\n  3\t120   1080 # comment\n3-1-2\n5 10 600 99\n");
  ASSERT_EQ(4u, submission.screenings.size());
  const Screening& first = submission.screenings[0];
  EXPECT_EQ(3, first.movieNo);
  EXPECT_EQ(120, first.day);
  EXPECT_EQ(1080, first.startMinute);
  EXPECT_EQ(3, submission.screenings[1].movieNo);
  EXPECT_EQ(120, submission.screenings[1].day);
  EXPECT_EQ(1080, submission.screenings[1].startMinute);
  EXPECT_EQ(3, submission.screenings[2].movieNo);
  EXPECT_EQ(-1, submission.screenings[2].day);
  EXPECT_EQ(-2, submission.screenings[2].startMinute);
  EXPECT_EQ(5, submission.screenings[3].movieNo);
  EXPECT_EQ(10, submission.screenings[3].day);
  EXPECT_EQ(600, submission.screenings[3].startMinute);
  EXPECT_TRUE(submission.order.empty());
}

TEST(SubmissionReadScreenings, MissingLineNamesItsNumber) {
  EXPECT_EQ("manjka podatek o 3. predstavi",
            formErrorOf(Head + "3\n0 0 600\n1 0 800\n"));
  EXPECT_EQ("manjka podatek o 1. predstavi", formErrorOf(Head + "1\n"));
}

TEST(SubmissionReadScreenings, FewerThanThreeIntegers) {
  EXPECT_EQ(screeningLineError(2, "5 10"),
            formErrorOf(Head + "2\n0 0 600\n5 10\n"));
  EXPECT_EQ(screeningLineError(1, ""), formErrorOf(Head + "1\n\n"));
  EXPECT_EQ(screeningLineError(1, "5, 10, 600"),
            formErrorOf(Head + "1\n5, 10, 600\n"));
  // A number outside the 32-bit range stops the conversion after one number.
  EXPECT_EQ(screeningLineError(1, "1 99999999999 5"),
            formErrorOf(Head + "1\n1 99999999999 5\n"));
}

TEST(SubmissionReadScreenings, QuotedLineKeepsEveryByte) {
  const std::string line = "5\0 10 \x1a\r "s;
  EXPECT_EQ(screeningLineError(1, line), formErrorOf(Head + "1\n" + line + "\n"));
  const std::string tavoLine = "Ta\0vo"s;
  EXPECT_EQ("v drugi vrstici bi moral biti niz \"Tavo\", ne pa \"" + tavoLine +
                "\"",
            formErrorOf("123456\n" + tavoLine + "\n3\n0\n"));
}

TEST(SubmissionReadEndOfFile, NothingMayFollowTheLastScreening) {
  const std::string end1 =
      "za podatkom o 1. predstavi bi moral biti konec datoteke";
  EXPECT_EQ(end1, formErrorOf(Head + "1\n0 0 600\n\n"));
  EXPECT_EQ(end1, formErrorOf(Head + "1\n0 0 600\n "));
  EXPECT_EQ(end1, formErrorOf(Head + "1\n0 0 600\n1 0 800\n"));
  EXPECT_EQ(end1, formErrorOf(Head + "1\n0 0 600\r\n\r\n"));
  EXPECT_EQ("za podatkom o 0. predstavi bi moral biti konec datoteke",
            formErrorOf(Head + "0\n\n"));
}

TEST(SubmissionReadEndOfFile, LastLineMayLackItsLineBreak) {
  Submission submission = readSubmission(Head + "2\n0 0 600\n1 0 800");
  ASSERT_EQ(2u, submission.screenings.size());
  EXPECT_EQ(800, submission.screenings[1].startMinute);
  EXPECT_TRUE(readSubmission(Head + "0").screenings.empty());
}

TEST(SubmissionReadLineBreaks, CrLfReadsLikeLf) {
  const std::string lf = "012345\nTavo\n7\n2\n0 0 600\n1 3 800\n";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  Submission a = readSubmission(lf);
  Submission b = readSubmission(crlf);
  EXPECT_EQ(a.contestantNo, b.contestantNo);
  EXPECT_EQ(a.caseNo, b.caseNo);
  ASSERT_EQ(a.screenings.size(), b.screenings.size());
  for (size_t i = 0; i < a.screenings.size(); ++i) {
    EXPECT_EQ(a.screenings[i].movieNo, b.screenings[i].movieNo);
    EXPECT_EQ(a.screenings[i].day, b.screenings[i].day);
    EXPECT_EQ(a.screenings[i].startMinute, b.screenings[i].startMinute);
  }
  // The quoted line of an error carries no trace of the line break.
  EXPECT_EQ(screeningLineError(1, "5 10"),
            formErrorOf("123456\r\nTavo\r\n3\r\n1\r\n5 10\r\n"));
}

TEST(SubmissionReadLineBreaks, CarriageReturnElsewhereBelongsToTheLine) {
  EXPECT_EQ("v drugi vrstici bi moral biti niz \"Tavo\", ne pa \"Tavo\r\"",
            formErrorOf("123456\nTavo\r\r\n3\n0\n"));
  EXPECT_EQ("v drugi vrstici bi moral biti niz \"Tavo\", ne pa \"Tavo\r\"",
            formErrorOf("123456\nTavo\r"));
  EXPECT_EQ("stevilka tekmovalca bi morala imeti 6 stevk",
            formErrorOf("123456\r\r\nTavo\n3\n0\n"));
}

TEST(SubmissionReadLongLines, ACutLineIsNamedInTheErrorItCauses) {
  const size_t Limit = InputFile::MaxLineLength;
  const std::string blanks(Limit, ' ');
  const std::string cutNote =
      " (vrstica je daljsa od 1048576 bajtov in je odrezana)";
  const std::string previousCutNote =
      " (prejsnja vrstica je daljsa od 1048576 bajtov in je odrezana)";
  // A quoted line shows only what was read, and says so. (Compared as a
  // truth value: a failure would print a megabyte.)
  EXPECT_TRUE("vrstica za 1. predstavo bi morala vsebovati tri cela stevila "
              "(ne pa \"1 2" + blanks.substr(3) + "\"" + cutNote + ")" ==
              formErrorOf(Head + "1\n1 2" + blanks + "3\n"));
  // A line that would read well on its own, but was cut, leaves the next
  // line missing, or what follows it unread.
  EXPECT_EQ("manjka podatek o 1. predstavi" + previousCutNote,
            formErrorOf(Head + "1" + blanks + "\n0 0 600\n"));
  EXPECT_EQ("za podatkom o 1. predstavi bi moral biti konec datoteke" +
                previousCutNote,
            formErrorOf(Head + "1\n0 0 600" + blanks + "\n"));
}

TEST(SubmissionReadState, RereadingReplacesTheScreenings) {
  TemporaryFile file(Head + "1\n0 0 600\n");
  Submission submission;
  submission.screenings.resize(5);
  submission.order = {4, 3, 2, 1, 0};
  InputFile is(file.path());
  submission.read(is);
  ASSERT_EQ(1u, submission.screenings.size());
  EXPECT_EQ(600, submission.screenings[0].startMinute);
  EXPECT_TRUE(submission.order.empty());
}

}  // namespace
