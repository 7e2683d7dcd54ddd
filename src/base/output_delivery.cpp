#include "base/output_delivery.h"

#include <cstdio>

#include "base/output_path.h"

int outputNotWritten(const std::string& message) {
  std::fprintf(stderr, "Skedomat: %s\n", message.c_str());
  return ExitNoReport;
}

int openOutputFile(const std::vector<std::string>& inputPaths,
                   const std::string& path, const std::string& what,
                   OutputFile& file, OutputFile::LineEnds lineEnds) {
  std::string targetPath;
  const std::string refusal = refuseOutputPath(path, what, inputPaths, targetPath);
  if (!refusal.empty()) return outputNotWritten(refusal);
  if (!file.open(targetPath, lineEnds))
    return outputNotWritten("datoteke za " + what + " \"" + path +
                            "\" ni mogoce ustvariti: " + file.errorText());
  return ExitReportWritten;
}

int finishOutputFile(const std::string& path, OutputFile& file) {
  if (!file.finish())
    return outputNotWritten("datoteke \"" + path +
                            "\" ni bilo mogoce zapisati: " + file.errorText());
  return ExitReportWritten;
}

int commitOutputFile(const std::string& path, OutputFile& file) {
  if (!file.commit())
    return outputNotWritten("datoteke \"" + path +
                            "\" ni bilo mogoce zamenjati: " + file.errorText());
  return ExitReportWritten;
}

int deliverOutputFile(const std::string& path, OutputFile& file) {
  const int status = finishOutputFile(path, file);
  return status == ExitReportWritten ? commitOutputFile(path, file) : status;
}
