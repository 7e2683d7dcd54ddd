#include "driver/html_text.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(ExplainTextDecoding, ValidUtf8IsKeptByteForByte) {
  const std::string text = "Kekec \xC4\x8D\xC5\xA1 \xE2\x82\xAC \xF0\x9F\x8E\xAC";
  EXPECT_EQ(text, decodeFileText(text));
  EXPECT_EQ("", decodeFileText(""));
  EXPECT_EQ("plain ascii\t", decodeFileText("plain ascii\t"));
}

TEST(ExplainTextDecoding, InvalidBytesAreReadAsWindows1250) {
  // Caron letters of Slovenian, the euro sign and typographic quotes.
  EXPECT_EQ("\xC5\xA0" "ola \xC4\x8D" "as", decodeFileText("\x8A" "ola \xE8" "as"));
  EXPECT_EQ("\xC5\xBD\xC5\xA1\xC5\xBE\xC4\x8C", decodeFileText("\x8E\x9A\x9E\xC8"));
  // Where Windows-1250 bytes happen to form valid UTF-8, UTF-8 wins.
  EXPECT_EQ("\xC8\x8E", decodeFileText("\xC8\x8E"));
  EXPECT_EQ("\xE2\x82\xAC", decodeFileText("\x80"));
  EXPECT_EQ("\xE2\x80\x9E" "x\xE2\x80\x9C", decodeFileText("\x84x\x93"));
  // The first and the last byte of the table, and the no-break space.
  EXPECT_EQ("\xCB\x99", decodeFileText("\xFF"));
  EXPECT_EQ("\xC2\xA0", decodeFileText("\xA0"));
}

TEST(ExplainTextDecoding, UndefinedWindows1250BytesBecomeReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  for (const char* byte : {"\x81", "\x83", "\x88", "\x90", "\x98"})
    EXPECT_EQ(replacement, decodeFileText(byte)) << int(byte[0] & 0xFF);
}

TEST(ExplainTextDecoding, MalformedUtf8FallsBackByteByByte) {
  // An overlong slash: both bytes are Windows-1250 letters.
  EXPECT_EQ("\xC5\x94\xC5\xBB", decodeFileText("\xC0\xAF"));
  // An encoded surrogate is not UTF-8.
  EXPECT_EQ("\xC3\xAD\xC2\xA0\xE2\x82\xAC", decodeFileText("\xED\xA0\x80"));
  // A sequence cut off by the end of the line, and one cut by ASCII.
  EXPECT_EQ("a\xC4\x8D", decodeFileText("a\xE8"));
  EXPECT_EQ("\xC3\xA2" "A", decodeFileText("\xE2" "A"));
  // Above U+10FFFF.
  EXPECT_EQ("\xC3\xB4\xEF\xBF\xBD\xE2\x82\xAC\xE2\x82\xAC",
            decodeFileText("\xF4\x90\x80\x80"));
  // A valid sequence right after an invalid byte is kept.
  EXPECT_EQ("\xC4\x8D\xC4\x8D", decodeFileText("\xE8\xC4\x8D"));
}

TEST(ExplainTextDecoding, ControlCharactersBecomeReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ("a" + replacement + "b", decodeFileText(std::string("a\0b", 3)));
  EXPECT_EQ(replacement + replacement, decodeFileText("\r\x1A"));
  EXPECT_EQ(replacement, decodeFileText("\x7F"));
  EXPECT_EQ("a\tb\nc", decodeFileText("a\tb\nc"));
  EXPECT_EQ(replacement, decodeFileText("\xC2\x85"));  // NEL, valid UTF-8
}

TEST(ExplainTextEscaping, MarkupCharactersBecomeReferences) {
  EXPECT_EQ("&lt;b&gt;Tom &amp; Jerry&lt;/b&gt; &quot;1&quot; &#39;2&#39;",
            escapeHtml("<b>Tom & Jerry</b> \"1\" '2'"));
  EXPECT_EQ("&amp;amp;", escapeHtml("&amp;"));
  EXPECT_EQ("\xC4\x8D", escapeHtml("\xC4\x8D"));
}

TEST(ExplainTextEscaping, DecodingComesBeforeEscaping) {
  EXPECT_EQ("&lt;\xC4\x8C&gt;", htmlText("<\xC8>"));
}

TEST(ExplainTextEscaping, ShortTextIsCutAtCharactersNotBytes) {
  EXPECT_EQ("abc", shortHtmlText("abc", 3));
  EXPECT_EQ("ab\xE2\x80\xA6", shortHtmlText("abcd", 2));
  // Two-byte letters count once each; the cut never splits one.
  EXPECT_EQ("\xC4\x8D\xC4\x8D\xE2\x80\xA6", shortHtmlText("\xE8\xE8\xE8", 2));
  // The cut is made before escaping, so no reference is split.
  EXPECT_EQ("&amp;&amp;\xE2\x80\xA6", shortHtmlText("&&&", 2));
}

}  // namespace
