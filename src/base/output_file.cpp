#include "base/output_file.h"

#include <cstring>

#include "base/interrupt_cleanup.h"
#include "base/platform.h"

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
  removeTemporary();
}

bool OutputFile::open(const std::string& path, LineEnds lineEnds) {
  targetPath_ = path;
  lineEnds_ = lineEnds;
  file_ = platform::createTemporaryBeside(path, temporaryPath_);
  if (file_ == nullptr) {
    temporaryPath_.clear();
    fail();
    return false;
  }
  removeOnInterrupt(temporaryPath_);
  return true;
}

void OutputFile::fail() {
  if (!failed_) errorText_ = platform::lastErrorText();
  failed_ = true;
}

void OutputFile::removeTemporary() {
  if (temporaryPath_.empty()) return;
  platform::removeFile(temporaryPath_);
  forgetOnInterrupt(temporaryPath_);
  temporaryPath_.clear();
}

void OutputFile::write(const std::string& text) {
  if (file_ == nullptr) {
    failed_ = true;
    return;
  }
  const char* lineEnd = lineEnds_ == LineEnds::Lf ? "\n" : platform::lineEnd();
  size_t lineEndLength = std::strlen(lineEnd);
  size_t begin = 0;
  while (begin < text.size()) {
    size_t lf = text.find('\n', begin);
    size_t end = lf == std::string::npos ? text.size() : lf;
    if (std::fwrite(text.data() + begin, 1, end - begin, file_) != end - begin)
      fail();
    if (lf == std::string::npos) break;
    if (std::fwrite(lineEnd, 1, lineEndLength, file_) != lineEndLength) fail();
    begin = lf + 1;
  }
}

void OutputFile::discard() {
  // A failed write may have been a full disk that the drop makes room on,
  // but not every byte after it reached the file: the failure stays.
  if (file_ != nullptr && !platform::truncateFile(file_)) fail();
}

bool OutputFile::finish() {
  if (file_ == nullptr) {
    failed_ = true;
    return false;
  }
  if (!platform::syncAndClose(file_)) fail();
  file_ = nullptr;
  finished_ = !failed_;
  if (!finished_) removeTemporary();
  return finished_;
}

bool OutputFile::commit() {
  if (!finished_ || temporaryPath_.empty()) return false;
  InterruptsHeld held;
  if (!platform::replaceFile(temporaryPath_, targetPath_)) {
    fail();
    removeTemporary();
    return false;
  }
  forgetOnInterrupt(temporaryPath_);
  temporaryPath_.clear();
  return true;
}

bool OutputFile::close() { return finish() && commit(); }
