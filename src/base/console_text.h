#ifndef SKEDOMAT_BASE_CONSOLE_TEXT_H
#define SKEDOMAT_BASE_CONSOLE_TEXT_H

#include <string>

// A name from the user's files, made safe to print on a terminal: each
// control byte (below 0x20, and 0x7F) becomes \xHH, so that no name can
// split a line of a table or send an escape sequence; every other byte is
// kept as it is.
std::string consoleText(const std::string& bytes);

// `text` filled up with blanks to `width` bytes, after it or before it
// (to align numbers on the right); a longer text unchanged.
std::string padRight(const std::string& text, size_t width);
std::string padLeft(const std::string& text, size_t width);

#endif  // SKEDOMAT_BASE_CONSOLE_TEXT_H
