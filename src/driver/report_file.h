#ifndef SKEDOMAT_DRIVER_REPORT_FILE_H
#define SKEDOMAT_DRIVER_REPORT_FILE_H

#include <cstdio>
#include <string>

// The report file: bytes written as given, except that each LF becomes the
// platform's line end. Remembers whether any write or the close failed, so
// that a report that did not reach the disk is never taken for a result.
class ReportFile {
 public:
  ReportFile() = default;
  ~ReportFile();
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Creates or truncates `path`; false when that fails.
  bool open(const std::string& path);
  // Writes `text`, every byte of it, NUL bytes included.
  void write(const std::string& text);
  // Flushes and closes the file; false when any write or the close failed.
  bool close();

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

#endif  // SKEDOMAT_DRIVER_REPORT_FILE_H
