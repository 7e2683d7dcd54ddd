#include "page/html_text.h"

#include <cstdint>

namespace {

const char32_t Replacement = 0xFFFD;

// Windows-1250 characters of the bytes 0x80 .. 0xFF; 0 marks the bytes that
// the code page leaves undefined.
const char16_t Windows1250High[128] = {
    // 0x80
    0x20AC, 0, 0x201A, 0, 0x201E, 0x2026, 0x2020, 0x2021,
    0, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    // 0x90
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    // 0xA0
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    // 0xB0
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    // 0xC0
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    // 0xD0
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    // 0xE0
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    // 0xF0
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void appendUtf8(char32_t c, std::string& out) {
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
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at `at`, with its character in `c`;
// 0 when no valid sequence starts there (overlong forms, surrogates, values
// above U+10FFFF and cut-off sequences are not valid).
size_t validSequence(const std::string& bytes, size_t at, char32_t& c) {
  const unsigned char lead = static_cast<unsigned char>(bytes[at]);
  size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, c = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > bytes.size()) return 0;
  for (size_t k = 1; k < length; k++) {
    const unsigned char byte = static_cast<unsigned char>(bytes[at + k]);
    if (!isContinuation(byte)) return 0;
    c = (c << 6) | (byte & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

char32_t windows1250(unsigned char byte) {
  if (byte < 0x80) return byte;
  const char16_t c = Windows1250High[byte - 0x80];
  return c == 0 ? Replacement : c;
}

bool isControl(char32_t c) {
  return (c < 0x20 && c != '\t' && c != '\n') || (c >= 0x7F && c <= 0x9F);
}

// The format characters of Unicode 15 (general category Cf), first and last
// of each run.
const char32_t FormatCharacters[][2] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},
    {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},
    {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},
    {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD},
    {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3},
    {0x1D173, 0x1D17A}, {0xE0001, 0xE0001}, {0xE0020, 0xE007F},
};

bool isFormat(char32_t c) {
  if (c < FormatCharacters[0][0]) return false;
  for (const char32_t* run : FormatCharacters)
    if (c >= run[0] && c <= run[1]) return true;
  return false;
}

// "<U+202E>": the code point in upper-case hexadecimal, four digits or more.
void appendCodePoint(char32_t c, std::string& out) {
  const char* digits = "0123456789ABCDEF";
  std::string hex;
  for (; c > 0 || hex.size() < 4; c >>= 4) hex.insert(hex.begin(), digits[c & 15]);
  out += "<U+" + hex + ">";
}

// The characters of `bytes`, at most `maxCharacters` of them, decoded as
// decodeFileText says; true when characters were left over.
bool decode(const std::string& bytes, size_t maxCharacters, std::string& out) {
  out.reserve(bytes.size());
  size_t at = 0;
  for (size_t characters = 0; at < bytes.size(); ++characters) {
    if (characters == maxCharacters) return true;
    char32_t c = 0;
    size_t length = validSequence(bytes, at, c);
    if (length == 0) {
      c = windows1250(static_cast<unsigned char>(bytes[at]));
      length = 1;
    }
    if (isFormat(c))
      appendCodePoint(c, out);
    else
      appendUtf8(isControl(c) ? Replacement : c, out);
    at += length;
  }
  return false;
}

}  // namespace

std::string decodeFileText(const std::string& bytes) {
  std::string out;
  decode(bytes, bytes.size() + 1, out);
  return out;
}

std::string escapeHtml(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string htmlText(const std::string& bytes) {
  return escapeHtml(decodeFileText(bytes));
}

std::string shortHtmlText(const std::string& bytes, size_t maxCharacters) {
  std::string text;
  if (decode(bytes, maxCharacters, text)) text += "\xE2\x80\xA6";
  return escapeHtml(text);
}
