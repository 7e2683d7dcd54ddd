#ifndef SKEDOMAT_BASE_CONSOLE_TEXT_H
#define SKEDOMAT_BASE_CONSOLE_TEXT_H

#include <string>

// A name from the user's files, made safe to print on a terminal: each
// control byte (below 0x20, and 0x7F) becomes \xHH, so that no name can
// split a line of a table or send an escape sequence; every other byte is
// kept as it is.
std::string consoleText(const std::string& bytes);

#endif  // SKEDOMAT_BASE_CONSOLE_TEXT_H
