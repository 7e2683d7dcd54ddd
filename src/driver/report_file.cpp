#include "driver/report_file.h"

#include <cstring>

#include "driver/platform.h"

ReportFile::~ReportFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool ReportFile::open(const std::string& path) {
  file_ = platform::openFile(path, "wb");
  failed_ = file_ == nullptr;
  return !failed_;
}

void ReportFile::write(const std::string& text) {
  if (file_ == nullptr) {
    failed_ = true;
    return;
  }
  const char* lineEnd = platform::lineEnd();
  size_t lineEndLength = std::strlen(lineEnd);
  size_t begin = 0;
  while (begin < text.size()) {
    size_t lf = text.find('\n', begin);
    size_t end = lf == std::string::npos ? text.size() : lf;
    if (std::fwrite(text.data() + begin, 1, end - begin, file_) != end - begin)
      failed_ = true;
    if (lf == std::string::npos) break;
    if (std::fwrite(lineEnd, 1, lineEndLength, file_) != lineEndLength)
      failed_ = true;
    begin = lf + 1;
  }
}

bool ReportFile::close() {
  if (file_ == nullptr) return false;
  if (std::fflush(file_) != 0) failed_ = true;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}
