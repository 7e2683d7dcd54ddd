#ifndef SKEDOMAT_DRIVER_HTML_TEXT_H
#define SKEDOMAT_DRIVER_HTML_TEXT_H

#include <string>

// Text from the input files (titles, genre names, messages) made safe for an
// HTML page. The files carry bytes in no declared encoding: UTF-8 where the
// bytes are valid UTF-8, otherwise most likely Windows-1250, the code page of
// the reports.

// The bytes as UTF-8: every valid UTF-8 sequence is kept, every other byte is
// read as a Windows-1250 character (the five bytes that code page leaves
// undefined become U+FFFD). Control characters other than tab and line feed
// become U+FFFD too, as nothing on a page could show them.
std::string decodeFileText(const std::string& bytes);

// UTF-8 text with &, <, >, " and ' replaced by character references.
std::string escapeHtml(const std::string& text);

// Both: bytes from a file, ready to stand in an element or an attribute.
std::string htmlText(const std::string& bytes);

// Like htmlText, with the text cut after `maxCharacters` characters and an
// ellipsis put in their place, so that no input can swell a page.
std::string shortHtmlText(const std::string& bytes, size_t maxCharacters);

#endif  // SKEDOMAT_DRIVER_HTML_TEXT_H
