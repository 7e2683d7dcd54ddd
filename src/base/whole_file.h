#ifndef SKEDOMAT_BASE_WHOLE_FILE_H
#define SKEDOMAT_BASE_WHOLE_FILE_H

#include <cstddef>
#include <string>

// A small input file read whole, as the program's own files are read back
// (results, best scores). Only a regular file is read (links followed): a
// folder, device, FIFO or socket is refused before it is opened, so that
// nothing blocks or reads without end; a file beyond `maxBytes` is refused
// too. Every failure comes with the reason, the system's where it has one;
// a file that cannot be read is never taken for an empty one.
enum class WholeFileRead { Read, Missing, Failed };

WholeFileRead readWholeFile(const std::string& path, size_t maxBytes, std::string& text,
                            std::string& error);

#endif  // SKEDOMAT_BASE_WHOLE_FILE_H
