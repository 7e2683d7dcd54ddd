// Tests of the test-case file reader: TestCase::read with Movie::read,
// Viewer::read and readGenres, on small files written to a temporary folder.

#include "testcase/test_case.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "base/assertion.h"

namespace fs = std::filesystem;

namespace {

// A complete test case: two films, two viewers, 40 seats. Genre 3 is named in
// both films, genre 0 in film 0 and viewer 0; genres 1 and 2 are never named.
const std::vector<std::string> ExampleLines = {
    "Tavo",         //  1
    "7",            //  2 caseNo
    "2",            //  3 nMovies
    "0",            //  4 film 0: seqNo
    "tt0000101",    //  5 ttNo
    "First Film",   //  6 title
    "95",           //  7 runtime
    "7.5",          //  8 rating
    "2",            //  9 nGenres
    "0",            // 10
    "Drama",        // 11
    "3",            // 12
    "Comedy",       // 13
    "1",            // 14 film 1: seqNo
    "tt0000202",    // 15
    "Second Film",  // 16
    "120",          // 17
    "6",            // 18
    "1",            // 19
    "3",            // 20
    "Comedy",       // 21
    "2 40",         // 22 nViewers, nSeats
    "18:30",        // 23 viewer 0
    "1",            // 24
    "0",            // 25
    "Drama",        // 26
    "09:05",        // 27 viewer 1
    "0",            // 28 no genres
};

// The same, with no films at all: the seats line follows line 3.
const std::vector<std::string> NoFilmLines = {
    "Tavo", "3", "0", "1 5", "12:00", "1", "4", "Horror",
};

// Each line followed by `lineEnd`.
std::string joinLines(const std::vector<std::string>& lines,
                      const std::string& lineEnd = "\n") {
  std::string text;
  for (const std::string& line : lines) text += line + lineEnd;
  return text;
}

// The example with `nRemoved` lines from line `lineNo` (counted from 1) on
// replaced by `inserted`.
std::vector<std::string> exampleSpliced(size_t lineNo, size_t nRemoved,
                                        const std::vector<std::string>& inserted) {
  std::vector<std::string> lines = ExampleLines;
  auto first = lines.begin() + (lineNo - 1);
  lines.insert(lines.erase(first, first + nRemoved), inserted.begin(),
               inserted.end());
  return lines;
}

std::vector<std::string> exampleWithLine(size_t lineNo, const std::string& text) {
  return exampleSpliced(lineNo, 1, {text});
}

// The first `count` lines of the example, followed by `more`.
std::vector<std::string> exampleFirstLines(size_t count,
                                           const std::vector<std::string>& more = {}) {
  std::vector<std::string> lines(ExampleLines.begin(), ExampleLines.begin() + count);
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

// Gives every test a folder of its own for its files and removes it after.
class TestCaseFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    const testing::TestInfo* test =
        testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              ("skedomat_" + std::string(test->name()) + "_" +
               std::to_string(random()) + std::to_string(random()));
    fs::create_directories(folder_);
  }

  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // Writes `content` byte for byte to a new file of the folder.
  std::string writeFile(const std::string& content) {
    fs::path path = folder_ / ("input" + std::to_string(nFiles_++) + ".txt");
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path.string();
  }

  std::string missingFile() const { return (folder_ / "absent.txt").string(); }

  TestCase read(const std::string& content) {
    TestCase testCase;
    testCase.read(writeFile(content));
    return testCase;
  }

  TestCase read(const std::vector<std::string>& lines) {
    return read(joinLines(lines));
  }

  // Succeeds when reading `content` raises an EAssertion with `message`.
  testing::AssertionResult failsWith(const std::string& content,
                                     const std::string& message) {
    return fileFailsWith(writeFile(content), message);
  }

  testing::AssertionResult failsWith(const std::vector<std::string>& lines,
                                     const std::string& message) {
    return failsWith(joinLines(lines), message);
  }

  static testing::AssertionResult fileFailsWith(const std::string& path,
                                                const std::string& message) {
    try {
      TestCase testCase;
      testCase.read(path);
    } catch (const EAssertion& failure) {
      if (failure.message == message) return testing::AssertionSuccess();
      return testing::AssertionFailure() << "raised \"" << failure.message
                                         << "\" instead of \"" << message << "\"";
    }
    return testing::AssertionFailure() << "was read without a failure, expected \""
                                       << message << "\"";
  }

 private:
  fs::path folder_;
  int nFiles_ = 0;
};

void expectSameTestCase(const TestCase& a, const TestCase& b) {
  EXPECT_EQ(a.caseNo, b.caseNo);
  EXPECT_EQ(a.nMovies, b.nMovies);
  EXPECT_EQ(a.nViewers, b.nViewers);
  EXPECT_EQ(a.nSeats, b.nSeats);
  EXPECT_EQ(a.genreNames, b.genreNames);
  ASSERT_EQ(a.movies.size(), b.movies.size());
  for (size_t i = 0; i < a.movies.size(); i++) {
    EXPECT_EQ(a.movies[i].seqNo, b.movies[i].seqNo);
    EXPECT_EQ(a.movies[i].ttNo, b.movies[i].ttNo);
    EXPECT_EQ(a.movies[i].title, b.movies[i].title);
    EXPECT_EQ(a.movies[i].runtime, b.movies[i].runtime);
    EXPECT_EQ(a.movies[i].rating, b.movies[i].rating);
    EXPECT_EQ(a.movies[i].genres, b.movies[i].genres);
  }
  ASSERT_EQ(a.viewers.size(), b.viewers.size());
  for (size_t i = 0; i < a.viewers.size(); i++) {
    EXPECT_EQ(a.viewers[i].preferredTime, b.viewers[i].preferredTime);
    EXPECT_EQ(a.viewers[i].genres, b.viewers[i].genres);
  }
}

const char* const ReadFailed = "Assertion failure (! is.fail())";
const char* const OneNumberMissing = "Assertion failure (ok == 1)";
const char* const TwoNumbersMissing = "Assertion failure (ok == 2)";
const char* const NotAtEnd = "Assertion failure (is.eof())";

class TestCaseReadExample : public TestCaseFileTest {};
class TestCaseReadLineEnds : public TestCaseFileTest {};
class TestCaseReadHead : public TestCaseFileTest {};
class TestCaseReadMovies : public TestCaseFileTest {};
class TestCaseReadViewers : public TestCaseFileTest {};
class TestCaseReadGenres : public TestCaseFileTest {};

TEST_F(TestCaseReadExample, FillsEveryField) {
  TestCase testCase = read(ExampleLines);
  EXPECT_EQ(7, testCase.caseNo);
  EXPECT_EQ(2, testCase.nMovies);
  EXPECT_EQ(2, testCase.nViewers);
  EXPECT_EQ(40, testCase.nSeats);
  EXPECT_EQ(std::vector<std::string>({"Drama", "", "", "Comedy"}),
            testCase.genreNames);

  ASSERT_EQ(2u, testCase.movies.size());
  const Movie& first = testCase.movies[0];
  EXPECT_EQ(0, first.seqNo);
  EXPECT_EQ(101, first.ttNo);
  EXPECT_EQ("First Film", first.title);
  EXPECT_EQ(95, first.runtime);
  EXPECT_EQ(7.5, first.rating);
  EXPECT_EQ(9u, first.genres);
  const Movie& second = testCase.movies[1];
  EXPECT_EQ(1, second.seqNo);
  EXPECT_EQ(202, second.ttNo);
  EXPECT_EQ("Second Film", second.title);
  EXPECT_EQ(120, second.runtime);
  EXPECT_EQ(6.0, second.rating);
  EXPECT_EQ(8u, second.genres);

  ASSERT_EQ(2u, testCase.viewers.size());
  EXPECT_EQ(1110, testCase.viewers[0].preferredTime);
  EXPECT_EQ(1u, testCase.viewers[0].genres);
  EXPECT_EQ(545, testCase.viewers[1].preferredTime);
  EXPECT_EQ(0u, testCase.viewers[1].genres);
}

TEST_F(TestCaseReadExample, ReadingAgainReplacesEverything) {
  TestCase testCase = read(ExampleLines);
  testCase.read(writeFile(joinLines(NoFilmLines)));
  EXPECT_EQ(3, testCase.caseNo);
  EXPECT_EQ(0, testCase.nMovies);
  EXPECT_TRUE(testCase.movies.empty());
  ASSERT_EQ(1u, testCase.viewers.size());
  EXPECT_EQ(720, testCase.viewers[0].preferredTime);
  EXPECT_EQ(16u, testCase.viewers[0].genres);
  EXPECT_EQ(std::vector<std::string>({"", "", "", "", "Horror"}),
            testCase.genreNames);
}

TEST_F(TestCaseReadLineEnds, CrLfReadsLikeLf) {
  TestCase lf = read(joinLines(ExampleLines, "\n"));
  TestCase crLf = read(joinLines(ExampleLines, "\r\n"));
  expectSameTestCase(lf, crLf);
  EXPECT_EQ("Comedy", crLf.genreNames[3]);
  EXPECT_EQ("Second Film", crLf.movies[1].title);
}

TEST_F(TestCaseReadLineEnds, MixedLineEndsNameOneGenreAlike) {
  // Genre 3 is named on a CR LF line in film 0 and on an LF line in film 1.
  std::string text;
  for (size_t i = 0; i < ExampleLines.size(); i++)
    text += ExampleLines[i] + (i < 14 ? "\r\n" : "\n");
  expectSameTestCase(read(ExampleLines), read(text));
}

TEST_F(TestCaseReadLineEnds, LastLineWithoutLineFeedIsRead) {
  std::string text = joinLines(ExampleLines);
  text.pop_back();
  expectSameTestCase(read(ExampleLines), read(text));

  std::string crLfText = joinLines(ExampleLines, "\r\n");
  crLfText.resize(crLfText.size() - 2);
  expectSameTestCase(read(ExampleLines), read(crLfText));
}

TEST_F(TestCaseReadLineEnds, NothingMayFollowTheLastViewer) {
  EXPECT_TRUE(failsWith(joinLines(ExampleLines) + "\n", NotAtEnd));
  EXPECT_TRUE(failsWith(joinLines(ExampleLines, "\r\n") + "\r\n", NotAtEnd));
  EXPECT_TRUE(failsWith(joinLines(ExampleLines) + " ", NotAtEnd));
  // A viewer block more than declared.
  std::vector<std::string> extraViewer = ExampleLines;
  extraViewer.insert(extraViewer.end(), {"10:00", "0"});
  EXPECT_TRUE(failsWith(extraViewer, NotAtEnd));
}

TEST_F(TestCaseReadLineEnds, LinesAreNotTrimmed) {
  // Blanks at either end and a carriage return inside a line stay in it.
  TestCase testCase = read(exampleWithLine(6, "  First\rFilm \t"));
  EXPECT_EQ("  First\rFilm \t", testCase.movies[0].title);
  EXPECT_TRUE(failsWith(exampleWithLine(21, "Comedy "),
                        "Assertion failure (genreNames[genre] == genreName)"));
  // A carriage return that no line feed follows is part of the last line.
  std::string text = joinLines(exampleFirstLines(27, {"1", "0"})) + "Drama\r";
  EXPECT_TRUE(failsWith(text, "Assertion failure (genreNames[genre] == genreName)"));
}

TEST_F(TestCaseReadHead, MissingOrEmptyFileFailsTheFirstRead) {
  EXPECT_TRUE(fileFailsWith(missingFile(), ReadFailed));
  EXPECT_TRUE(failsWith(std::string(), ReadFailed));
}

TEST_F(TestCaseReadHead, FirstLineMustBeExactlyTavo) {
  const char* const notTavo = "Assertion failure (s == \"Tavo\")";
  EXPECT_TRUE(failsWith(exampleWithLine(1, "Tavo "), notTavo));
  EXPECT_TRUE(failsWith(exampleWithLine(1, " Tavo"), notTavo));
  EXPECT_TRUE(failsWith(exampleWithLine(1, "tavo"), notTavo));
  EXPECT_TRUE(failsWith(exampleWithLine(1, "TAVO"), notTavo));
  EXPECT_TRUE(failsWith(exampleWithLine(1, "Tav"), notTavo));
  EXPECT_TRUE(failsWith(exampleWithLine(1, ""), notTavo));
  EXPECT_TRUE(failsWith(std::string("Tavo"), ReadFailed));
}

TEST_F(TestCaseReadHead, CaseNumber) {
  EXPECT_EQ(0, read(exampleWithLine(2, "0")).caseNo);
  EXPECT_EQ(7, read(exampleWithLine(2, "  +7 (primer)")).caseNo);
  EXPECT_EQ(2147483647, read(exampleWithLine(2, "2147483647")).caseNo);
  EXPECT_TRUE(failsWith(exampleWithLine(2, "-1"), "Assertion failure (caseNo >= 0)"));
  EXPECT_TRUE(failsWith(exampleWithLine(2, ""), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(2, "x7"), OneNumberMissing));
  // A number outside the 32-bit range is not converted.
  EXPECT_TRUE(failsWith(exampleWithLine(2, "99999999999"), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleFirstLines(1), ReadFailed));
}

TEST_F(TestCaseReadHead, NumberOfFilms) {
  TestCase noFilms = read(NoFilmLines);
  EXPECT_EQ(0, noFilms.nMovies);
  EXPECT_TRUE(noFilms.movies.empty());
  EXPECT_EQ(1, noFilms.nViewers);
  EXPECT_EQ(5, noFilms.nSeats);

  EXPECT_TRUE(failsWith(exampleWithLine(3, "-1"), "Assertion failure (nMovies >= 0)"));
  EXPECT_TRUE(failsWith(exampleWithLine(3, "two"), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleFirstLines(2), ReadFailed));
  // A count that the file does not back fails at the first missing line.
  EXPECT_TRUE(failsWith(std::vector<std::string>{"Tavo", "7", "2000000000"},
                        ReadFailed));
}

TEST_F(TestCaseReadHead, ViewersAndSeatsLine) {
  TestCase blanks = read(exampleWithLine(22, " 2\t  40 seats"));
  EXPECT_EQ(2, blanks.nViewers);
  EXPECT_EQ(40, blanks.nSeats);
  EXPECT_EQ(1, read(exampleWithLine(22, "2 1")).nSeats);

  EXPECT_TRUE(failsWith(exampleWithLine(22, "2"), TwoNumbersMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(22, ""), TwoNumbersMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(22, "2,40"), TwoNumbersMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(22, "0 40"), "Assertion failure (nViewers > 0)"));
  // The viewers are checked before the seats are looked at.
  EXPECT_TRUE(failsWith(exampleWithLine(22, "-1 0"), "Assertion failure (nViewers > 0)"));
  EXPECT_TRUE(failsWith(exampleWithLine(22, "2 0"), "Assertion failure (nSeats > 0)"));
  EXPECT_TRUE(failsWith(exampleWithLine(22, "2 -40"), "Assertion failure (nSeats > 0)"));
  EXPECT_TRUE(failsWith(exampleFirstLines(21), ReadFailed));
  // Fewer viewer blocks than declared.
  EXPECT_TRUE(failsWith(exampleWithLine(22, "3 40"), ReadFailed));
}

TEST_F(TestCaseReadMovies, FilmNumberIsCheckedAfterTheWholeBlock) {
  const char* const outOfOrder = "Assertion failure (movie.seqNo == i)";
  EXPECT_TRUE(failsWith(exampleWithLine(4, "1"), outOfOrder));
  EXPECT_TRUE(failsWith(exampleWithLine(14, "0"), outOfOrder));
  // A fault further down the same block is reported instead.
  std::vector<std::string> twoFaults = exampleWithLine(4, "5");
  twoFaults[6] = "0";
  EXPECT_TRUE(failsWith(twoFaults, "Assertion failure (1 <= runtime)"));
  std::vector<std::string> lastLineFault = exampleWithLine(14, "9");
  lastLineFault[20] = "";
  EXPECT_TRUE(failsWith(lastLineFault, "Assertion failure (genreName != \"\")"));
  EXPECT_TRUE(failsWith(exampleWithLine(4, ""), OneNumberMissing));
}

TEST_F(TestCaseReadMovies, MoreOrFewerFilmBlocksThanDeclared) {
  // The second film's number line stands where the seats are due.
  EXPECT_TRUE(failsWith(exampleWithLine(3, "1"), TwoNumbersMissing));
  // A third film reads the seats line as its number, then fails on "18:30".
  EXPECT_TRUE(failsWith(exampleWithLine(3, "3"), OneNumberMissing));
}

TEST_F(TestCaseReadMovies, Identifier) {
  EXPECT_EQ(101, read(exampleWithLine(5, "tt 101")).movies[0].ttNo);
  EXPECT_EQ(0, read(exampleWithLine(5, "tt0")).movies[0].ttNo);
  EXPECT_EQ(42, read(exampleWithLine(5, "tt42 is the answer")).movies[0].ttNo);
  EXPECT_TRUE(failsWith(exampleWithLine(5, " tt0000101"), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(5, "TT0000101"), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(5, "0000101"), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(5, "tt"), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(5, ""), OneNumberMissing));
}

TEST_F(TestCaseReadMovies, Title) {
  EXPECT_EQ("", read(exampleWithLine(6, "")).movies[0].title);
  EXPECT_EQ("95", read(exampleWithLine(16, "95")).movies[1].title);
  EXPECT_TRUE(failsWith(exampleFirstLines(5), ReadFailed));
}

TEST_F(TestCaseReadMovies, RunningTime) {
  EXPECT_EQ(1, read(exampleWithLine(7, "1")).movies[0].runtime);
  EXPECT_EQ(95, read(exampleWithLine(7, "95 min")).movies[0].runtime);
  EXPECT_TRUE(failsWith(exampleWithLine(7, "0"), "Assertion failure (1 <= runtime)"));
  EXPECT_TRUE(failsWith(exampleWithLine(7, "-95"), "Assertion failure (1 <= runtime)"));
  EXPECT_TRUE(failsWith(exampleWithLine(7, "min"), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleFirstLines(6), ReadFailed));
}

TEST_F(TestCaseReadMovies, Rating) {
  const char* const outOfRange = "Assertion failure (0 <= rating && rating <= 10)";
  EXPECT_EQ(10.0, read(exampleWithLine(8, "10")).movies[0].rating);
  EXPECT_EQ(0.0, read(exampleWithLine(8, "0")).movies[0].rating);
  EXPECT_EQ(0.1, read(exampleWithLine(8, "0.1")).movies[0].rating);
  EXPECT_EQ(8.25, read(exampleWithLine(8, " 8.25/10")).movies[0].rating);
  EXPECT_TRUE(failsWith(exampleWithLine(8, "10.5"), outOfRange));
  EXPECT_TRUE(failsWith(exampleWithLine(8, "10.000001"), outOfRange));
  EXPECT_TRUE(failsWith(exampleWithLine(8, "-0.5"), outOfRange));
  EXPECT_TRUE(failsWith(exampleWithLine(8, "good"), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(8, ""), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleFirstLines(7), ReadFailed));
}

TEST_F(TestCaseReadViewers, TimeOfDay) {
  EXPECT_EQ(0, read(exampleWithLine(23, "00:00")).viewers[0].preferredTime);
  EXPECT_EQ(1439, read(exampleWithLine(23, "23:59")).viewers[0].preferredTime);
  EXPECT_EQ(545, read(exampleWithLine(23, " 9:05")).viewers[0].preferredTime);
}

TEST_F(TestCaseReadViewers, TimeOfDayFaults) {
  const char* const wrongLength = "Assertion failure (s.size() == 5)";
  const char* const outOfRange =
      "Assertion failure (0 <= h && h < 24 && 0 <= m && m < 60)";
  EXPECT_TRUE(failsWith(exampleWithLine(23, "9:05"), wrongLength));
  EXPECT_TRUE(failsWith(exampleWithLine(23, "18:30 "), wrongLength));
  EXPECT_TRUE(failsWith(exampleWithLine(23, ""), wrongLength));
  EXPECT_TRUE(failsWith(exampleWithLine(23, "18-30"), TwoNumbersMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(23, "18 30"), TwoNumbersMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(23, "ab:cd"), TwoNumbersMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(23, "24:00"), outOfRange));
  EXPECT_TRUE(failsWith(exampleWithLine(23, "12:60"), outOfRange));
  EXPECT_TRUE(failsWith(exampleWithLine(23, "-1:00"), outOfRange));
  EXPECT_TRUE(failsWith(exampleWithLine(23, "12:-1"), outOfRange));
  EXPECT_TRUE(failsWith(exampleFirstLines(22), ReadFailed));
}

TEST_F(TestCaseReadGenres, BlockContents) {
  TestCase empty = read(exampleSpliced(9, 5, {"0"}));
  EXPECT_EQ(0u, empty.movies[0].genres);

  // Genre 31 sets the top bit and makes the name table 32 entries long.
  TestCase top = read(exampleWithLine(25, "31"));
  EXPECT_EQ(0x80000000u, top.viewers[0].genres);
  ASSERT_EQ(32u, top.genreNames.size());
  EXPECT_EQ("Drama", top.genreNames[31]);
  EXPECT_EQ("Drama", top.genreNames[0]);
  EXPECT_EQ("", top.genreNames[30]);

  // A block may list its genres in any order; the number line may carry text.
  TestCase reversed = read(exampleSpliced(
      9, 5, {"3", "3 (comedy)", "Comedy", "1", "Thriller", "0", "Drama"}));
  EXPECT_EQ(11u, reversed.movies[0].genres);
  EXPECT_EQ(std::vector<std::string>({"Drama", "Thriller", "", "Comedy"}),
            reversed.genreNames);
}

TEST_F(TestCaseReadGenres, NumberOfEntries) {
  EXPECT_TRUE(failsWith(exampleWithLine(9, "-1"), "Assertion failure (0 <= nGenres)"));
  EXPECT_TRUE(failsWith(exampleWithLine(9, ""), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(28, "none"), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleFirstLines(27), ReadFailed));
  // More entries declared than given: the next film's first two lines are
  // taken as one more entry, and its title then stands where its number is due.
  EXPECT_TRUE(failsWith(exampleWithLine(9, "3"), OneNumberMissing));
}

TEST_F(TestCaseReadGenres, GenreNumber) {
  const char* const negative = "Assertion failure (0 <= genre)";
  const char* const tooLarge = "Assertion failure (0 <= genre && genre < MaxGenres)";
  EXPECT_TRUE(failsWith(exampleWithLine(10, "-1"), negative));
  // A negative number fails before its name line is read.
  EXPECT_TRUE(failsWith(exampleFirstLines(9, {"-1"}), negative));
  EXPECT_TRUE(failsWith(exampleWithLine(10, "32"), tooLarge));
  EXPECT_TRUE(failsWith(exampleWithLine(25, "2147483647"), tooLarge));
  // The name line is read and checked before the number's upper bound.
  EXPECT_TRUE(failsWith(exampleFirstLines(9, {"32"}), ReadFailed));
  std::vector<std::string> emptyName = exampleWithLine(10, "32");
  emptyName[10] = "";
  EXPECT_TRUE(failsWith(emptyName, "Assertion failure (genreName != \"\")"));
  EXPECT_TRUE(failsWith(exampleWithLine(10, "drama"), OneNumberMissing));
  EXPECT_TRUE(failsWith(exampleWithLine(10, "99999999999"), OneNumberMissing));
}

TEST_F(TestCaseReadGenres, GenreName) {
  const char* const clash = "Assertion failure (genreNames[genre] == genreName)";
  EXPECT_TRUE(failsWith(exampleWithLine(11, ""), "Assertion failure (genreName != \"\")"));
  EXPECT_TRUE(failsWith(exampleFirstLines(10), ReadFailed));
  // A name binds its number for every later block, viewer blocks included.
  EXPECT_TRUE(failsWith(exampleWithLine(21, "Komedija"), clash));
  EXPECT_TRUE(failsWith(exampleWithLine(26, "drama"), clash));
  EXPECT_TRUE(failsWith(exampleWithLine(26, " Drama"), clash));
  // A number below the highest named one takes the first name given to it.
  TestCase late = read(exampleWithLine(25, "1"));
  EXPECT_EQ("Drama", late.genreNames[1]);
  EXPECT_EQ(2u, late.viewers[0].genres);
}

TEST_F(TestCaseReadGenres, SameGenreTwiceInOneBlock) {
  const char* const twice = "Assertion failure (((genres >> int(genre)) & 1) == 0)";
  EXPECT_TRUE(failsWith(exampleWithLine(12, "0"),
                        "Assertion failure (genreNames[genre] == genreName)"));
  std::vector<std::string> sameEntry = exampleWithLine(12, "0");
  sameEntry[12] = "Drama";
  EXPECT_TRUE(failsWith(sameEntry, twice));
  std::vector<std::string> topTwice = exampleWithLine(10, "31");
  topTwice[11] = "31";
  topTwice[12] = "Drama";
  EXPECT_TRUE(failsWith(topTwice, twice));
}

}  // namespace
