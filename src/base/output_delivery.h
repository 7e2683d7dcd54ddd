#ifndef SKEDOMAT_BASE_OUTPUT_DELIVERY_H
#define SKEDOMAT_BASE_OUTPUT_DELIVERY_H

#include <string>
#include <vector>

#include "base/exit_status.h"
#include "base/output_file.h"

// How every command delivers an output file: the path is checked against
// the command's inputs before anything is read, the file is written whole
// beside its target and only then put in the target's place. Each step
// answers with an exit status; a failure is told in one line on standard
// error and leaves the target untouched.

// Checks the output path `path` against `inputPaths` and creates the
// temporary file that will take its place; `what` names the output in
// messages. ExitReportWritten when the file is open; otherwise ExitNoReport,
// with one line on standard error saying why, and nothing touched.
int openOutputFile(const std::vector<std::string>& inputPaths,
                   const std::string& path, const std::string& what,
                   OutputFile& file, OutputFile::LineEnds lineEnds);

// Flushes an output file to the disk: ExitReportWritten when every byte
// reached it, otherwise ExitNoReport with one line on standard error.
int finishOutputFile(const std::string& path, OutputFile& file);

// Puts a finished output file in its target's place; ExitReportWritten or
// ExitNoReport as above.
int commitOutputFile(const std::string& path, OutputFile& file);

// Both: finishes the output file, then puts it in its target's place.
int deliverOutputFile(const std::string& path, OutputFile& file);

// The process cannot deliver its output: one line on standard error.
int outputNotWritten(const std::string& message);

#endif  // SKEDOMAT_BASE_OUTPUT_DELIVERY_H
