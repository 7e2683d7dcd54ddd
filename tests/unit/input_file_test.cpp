#include "driver/input_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_file.h"

namespace {

// Every line that getline delivers until it fails.
std::vector<std::string> readLines(const std::string& contents) {
  TempFile file(contents);
  InputFile is(file.path());
  std::vector<std::string> lines;
  for (std::string line; is.getline(line);) lines.push_back(line);
  EXPECT_TRUE(is.fail());
  EXPECT_TRUE(is.eof());
  return lines;
}

typedef std::vector<std::string> Lines;

TEST(InputFileLines, SplitsAtLineFeedsAndDropsOnlyTheCarriageReturnBeforeThem) {
  EXPECT_EQ(Lines({"a", "b"}), readLines("a\nb\n"));
  EXPECT_EQ(Lines({"a", "b"}), readLines("a\r\nb\r\n"));
  EXPECT_EQ(Lines({"a\rb", "c\r\r"}), readLines("a\rb\nc\r\r\r\n"));
  EXPECT_EQ(Lines({"", " x ", ""}), readLines("\n x \n\r\n"));
}

TEST(InputFileLines, ReadsALastLineWithoutLineFeedWhole) {
  EXPECT_EQ(Lines({"a", "tail"}), readLines("a\ntail"));
  // A carriage return at the very end is no line break.
  EXPECT_EQ(Lines({"a\r"}), readLines("a\r"));
}

TEST(InputFileLines, KeepsEveryByteValueInsideLines) {
  std::string bytes;
  for (int b = 0; b < 256; b++)
    if (b != '\n') bytes += static_cast<char>(b);
  EXPECT_EQ(Lines({bytes, std::string("\x1A" "end", 4)}),
            readLines(bytes + "\n\x1A" "end\n"));
}

TEST(InputFileLines, ReadsLinesLongerThanTheBuffer) {
  std::string longLine(200000, 'x');
  // The carriage return falls at the end of one buffer and its line feed
  // at the start of the next.
  std::string split(65535, 'y');
  EXPECT_EQ(Lines({longLine, split, "z"}),
            readLines(longLine + "\n" + split + "\r\nz"));
  std::string crAtBoundary(65536 - 1, 'y');
  EXPECT_EQ(Lines({crAtBoundary}), readLines(crAtBoundary + "\r\n"));
}

TEST(InputFileLines, EmptyFileFailsAtOnce) { EXPECT_EQ(Lines(), readLines("")); }

TEST(InputFileState, MissingFileStartsFailed) {
  InputFile is("this-file-does-not-exist.txt");
  EXPECT_TRUE(is.fail());
  std::string line = "old";
  EXPECT_FALSE(is.getline(line));
  EXPECT_EQ("", line);
}

TEST(InputFileState, EofAfterLastLineWithoutLineFeedButNoFailure) {
  TempFile file("a\nb");
  InputFile is(file.path());
  std::string line;
  ASSERT_TRUE(is.getline(line));
  EXPECT_FALSE(is.eof());
  ASSERT_TRUE(is.getline(line));
  EXPECT_TRUE(is.eof());
  EXPECT_FALSE(is.fail());
}

TEST(InputFileState, GetReadsTheByteAfterTheLastLineOrMeetsTheEnd) {
  TempFile trailing("a\n\n");
  InputFile withMore(trailing.path());
  std::string line;
  char c = 0;
  ASSERT_TRUE(withMore.getline(line));
  EXPECT_TRUE(withMore.get(c));
  EXPECT_EQ('\n', c);
  EXPECT_FALSE(withMore.eof());

  TempFile exact("a\n");
  InputFile atEnd(exact.path());
  ASSERT_TRUE(atEnd.getline(line));
  EXPECT_FALSE(atEnd.get(c));
  EXPECT_TRUE(atEnd.eof());
  EXPECT_TRUE(atEnd.fail());
}

}  // namespace
