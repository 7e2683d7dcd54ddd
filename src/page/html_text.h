#ifndef SKEDOMAT_PAGE_HTML_TEXT_H
#define SKEDOMAT_PAGE_HTML_TEXT_H

#include <string>

// Text from the input files (titles, genre names, messages) made safe for an
// HTML page. The files carry bytes in no declared encoding: UTF-8 where the
// bytes are valid UTF-8, otherwise most likely Windows-1250, the code page of
// the reports.

// The bytes as UTF-8: every valid UTF-8 sequence is kept, every other byte is
// read as a Windows-1250 character (the five bytes that code page leaves
// undefined become U+FFFD). Control characters other than tab and line feed
// become U+FFFD too, as nothing on a page could show them. Format characters
// (Unicode 15's category Cf) become their code point as text, as "<U+202E>"
// (hexadecimal, four digits or more): they are invisible, and the
// bidirectional ones (U+061C, U+200E, U+200F, U+202A..U+202E,
// U+2066..U+2069) would reorder the text around them. The soft hyphen
// U+00AD (also the Windows-1250 byte 0xAD) is shown so as well: it appears
// only where a line breaks, so two titles that differ by one would look
// alike. So are the zero-width joiners U+200C, U+200D, though an emoji
// sequence then shows in its parts. The line and paragraph separators
// U+2028, U+2029 are not format characters and are kept.
std::string decodeFileText(const std::string& bytes);

// UTF-8 text with &, <, >, " and ' replaced by character references.
std::string escapeHtml(const std::string& text);

// Both: bytes from a file, ready to stand in an element or an attribute.
std::string htmlText(const std::string& bytes);

// Like htmlText, with the text cut after `maxCharacters` characters and an
// ellipsis put in their place, so that no input can swell a page. A format
// character's "<U+...>" counts as one character and is never cut.
std::string shortHtmlText(const std::string& bytes, size_t maxCharacters);

#endif  // SKEDOMAT_PAGE_HTML_TEXT_H
