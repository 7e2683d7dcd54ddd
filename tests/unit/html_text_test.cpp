#include "page/html_text.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

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

std::string utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

TEST(ExplainTextDecoding, FormatCharactersBecomeTheirCodePointsAsText) {
  // Unicode 15's category Cf, bidirectional controls among them.
  const std::vector<std::pair<char32_t, char32_t>> format = {
      {0xAD, 0xAD},       {0x600, 0x605},     {0x61C, 0x61C},     {0x6DD, 0x6DD},
      {0x70F, 0x70F},     {0x890, 0x891},     {0x8E2, 0x8E2},     {0x180E, 0x180E},
      {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
      {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
      {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
      {0xE0020, 0xE007F}};
  auto isFormat = [&format](char32_t c) {
    for (const auto& run : format)
      if (c >= run.first && c <= run.second) return true;
    return false;
  };
  // Every other character, U+2028 and U+2029 included, is kept as it came.
  size_t nFormat = 0;
  for (char32_t c = 0x20; c <= 0x10FFFF; ++c) {
    if ((c >= 0x7F && c <= 0x9F) || (c >= 0xD800 && c <= 0xDFFF)) continue;
    const std::string text = utf8(c);
    if (!isFormat(c)) {
      if (decodeFileText(text) != text) ADD_FAILURE() << std::hex << c;
      continue;
    }
    ++nFormat;
    char name[16];
    std::snprintf(name, sizeof name, "<U+%04X>", static_cast<unsigned>(c));
    EXPECT_EQ(name, decodeFileText(text));
  }
  EXPECT_EQ(170u, nFormat);
  // A right-to-left override in a title shows and turns nothing round.
  EXPECT_EQ("Kekec <U+202E>cek\xC4\x8D\xC5\xA1\xC5\xBE <U+2066>x<U+2069>",
            decodeFileText("Kekec \xE2\x80\xAE" "cek\xC4\x8D\xC5\xA1\xC5\xBE "
                           "\xE2\x81\xA6x\xE2\x81\xA9"));
  EXPECT_EQ("<U+200E><U+200F><U+061C><U+FEFF>a<U+00AD>b<U+E0001>",
            decodeFileText("\xE2\x80\x8E\xE2\x80\x8F\xD8\x9C\xEF\xBB\xBF"
                           "a\xC2\xAD" "b\xF3\xA0\x80\x81"));
  // The soft hyphen as a Windows-1250 byte; a cut-off override is two letters.
  EXPECT_EQ("Ke<U+00AD>kec", decodeFileText("Ke\xAD" "kec"));
  EXPECT_EQ("\xC3\xA2\xE2\x82\xAC", decodeFileText("\xE2\x80"));
  // Escaped for the page, and one character where a text is cut.
  EXPECT_EQ("a&lt;U+202E&gt;b", htmlText("a\xE2\x80\xAE" "b"));
  EXPECT_EQ("a&lt;U+202E&gt;\xE2\x80\xA6", shortHtmlText("a\xE2\x80\xAE" "bc", 2));
  EXPECT_EQ("a\xE2\x80\xA6", shortHtmlText("a\xE2\x80\xAE" "bc", 1));
  EXPECT_EQ("a&lt;U+202E&gt;", shortHtmlText("a\xE2\x80\xAE", 2));
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
