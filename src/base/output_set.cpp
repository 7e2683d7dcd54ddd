#include "base/output_set.h"

#include "base/output_delivery.h"

OutputFile& OutputSet::add(const std::string& path, const std::string& what,
                           const std::vector<std::string>& inputPaths,
                           OutputFile::LineEnds lineEnds) {
  outputs_.emplace_back(new Output(path));
  Output& output = *outputs_.back();
  if (status_ == ExitReportWritten)
    status_ = openOutputFile(inputPaths, path, what, output.file, lineEnds);
  return output.file;
}

int OutputSet::deliver() {
  for (const std::unique_ptr<Output>& output : outputs_)
    if (status_ == ExitReportWritten) status_ = finishOutputFile(output->path, output->file);
  for (const std::unique_ptr<Output>& output : outputs_)
    if (status_ == ExitReportWritten) status_ = commitOutputFile(output->path, output->file);
  return status_;
}
