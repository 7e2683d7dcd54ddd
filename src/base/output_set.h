#ifndef SKEDOMAT_BASE_OUTPUT_SET_H
#define SKEDOMAT_BASE_OUTPUT_SET_H

#include <memory>
#include <string>
#include <vector>

#include "base/exit_status.h"
#include "base/output_file.h"

// Outputs of one command that are delivered together: each temporary file
// is created before anything is read, and no target is replaced unless
// every file of the set reached the disk whole. The first failure ends the
// set: later outputs are not opened, and delivery stops there. Targets not
// yet replaced keep their old contents; temporary files go with the set.
class OutputSet {
 public:
  // Checks `path` against `inputPaths` and opens its temporary file, as
  // openOutputFile does, unless an output before it failed. The file lives
  // as long as the set.
  OutputFile& add(const std::string& path, const std::string& what,
                  const std::vector<std::string>& inputPaths,
                  OutputFile::LineEnds lineEnds);

  // ExitReportWritten while nothing has failed, otherwise ExitNoReport.
  int status() const { return status_; }

  // Finishes every output, then, when all are whole on the disk, puts each
  // in its target's place in the order they were added.
  int deliver();

 private:
  struct Output {
    explicit Output(const std::string& path) : path(path) {}
    std::string path;
    OutputFile file;
  };

  std::vector<std::unique_ptr<Output>> outputs_;
  int status_ = ExitReportWritten;
};

#endif  // SKEDOMAT_BASE_OUTPUT_SET_H
