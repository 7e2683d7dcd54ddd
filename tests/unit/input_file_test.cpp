#include "base/input_file.h"

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

const size_t Limit = InputFile::MaxLineLength;

TEST(InputFileLimit, LinesOfUpToTheLimitAreReadWholeWithTheirLineBreak) {
  const std::string full(Limit, 'a');
  const std::string shorter(Limit - 1, 'a');
  EXPECT_EQ(Lines({full, "next"}), readLines(full + "\nnext\n"));
  EXPECT_EQ(Lines({full}), readLines(full));
  // A CR LF on either side of the limit is a line break.
  EXPECT_EQ(Lines({full, "next"}), readLines(full + "\r\nnext\n"));
  EXPECT_EQ(Lines({shorter, "next"}), readLines(shorter + "\r\nnext\n"));
  // The CR after the limit is the last byte of a buffer, its LF in the next.
  const std::string shift(65536 - 2, 'y');
  EXPECT_EQ(Lines({shift, full, "next"}),
            readLines(shift + "\n" + full + "\r\nnext"));
}

// Reads the first line of `contents`, which must be cut at the limit to
// `expected`; then get must read `byteAfterCut`, and getline must fail
// without having met the end of the file.
void expectCutBefore(const std::string& contents, const std::string& expected,
                     char byteAfterCut) {
  TempFile file(contents);
  InputFile is(file.path());
  std::string line;
  ASSERT_TRUE(is.getline(line));
  EXPECT_TRUE(line == expected) << "line of " << line.size() << " bytes";
  EXPECT_TRUE(is.lastLineCut());
  EXPECT_FALSE(is.eof());
  char c = 0;
  EXPECT_TRUE(is.get(c));
  EXPECT_EQ(byteAfterCut, c);
  EXPECT_FALSE(is.getline(line));
  EXPECT_EQ("", line);
  EXPECT_TRUE(is.fail());
  EXPECT_FALSE(is.eof());
}

TEST(InputFileLimit, ALongerLineIsCutAndStopsTheFile) {
  const std::string full(Limit, 'a');
  expectCutBefore(full + "b\nnext\n", full, 'b');
  // A CR without LF after the limit is more of the line, also at the end.
  expectCutBefore(full + "\rx\n", full, '\r');
  expectCutBefore(full + "\r", full, '\r');
  // A CR at the cut stays in the line.
  const std::string endingInCr = std::string(Limit - 1, 'a') + "\r";
  expectCutBefore(endingInCr + "b\r\n", endingInCr, 'b');
  // Lines before the long one do not count towards it.
  TempFile file("first\n" + full + "bc");
  InputFile is(file.path());
  std::string line;
  ASSERT_TRUE(is.getline(line));
  EXPECT_FALSE(is.lastLineCut());
  ASSERT_TRUE(is.getline(line));
  EXPECT_EQ(Limit, line.size());
  EXPECT_TRUE(is.lastLineCut());
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
