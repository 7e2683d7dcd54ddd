#include "base/input_file.h"

#include <algorithm>
#include <cstring>

#include "base/platform.h"

InputFile::InputFile(const std::string& path)
    : file_(platform::openFile(path, "rb")) {
  if (file_ == nullptr) failed_ = true;
}

InputFile::~InputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

// Makes at least `count` unread bytes stand in the buffer, moving the unread
// ones to its front before reading more; false when the file ends first.
bool InputFile::fillBuffer(size_t count) {
  while (unread() < count) {
    if (file_ == nullptr || drained_) return false;
    std::memmove(buffer_, buffer_ + position_, unread());
    size_ = unread();
    position_ = 0;
    size_t added =
        std::fread(buffer_ + size_, 1, sizeof buffer_ - size_, file_);
    if (added == 0) {
      drained_ = true;
      return false;
    }
    size_ += added;
  }
  return true;
}

// After a line of MaxLineLength bytes, whose next byte is no LF: takes a
// CR LF line break when one follows. Anything else is more of the line.
bool InputFile::readLineBreakAtLimit() {
  if (buffer_[position_] != '\r' || !fillBuffer(2) ||
      buffer_[position_ + 1] != '\n')
    return false;
  position_ += 2;
  return true;
}

bool InputFile::getline(std::string& line) {
  line.clear();
  if (failed_ || cut_) {
    failed_ = true;
    return false;
  }
  bool gotAnyByte = false;
  while (fillBuffer(1)) {
    gotAnyByte = true;
    // One byte beyond the room left is looked at, for the LF that may end
    // a line of exactly MaxLineLength bytes.
    const char* begin = buffer_ + position_;
    size_t room = MaxLineLength - line.size();
    size_t span = std::min(unread(), room + 1);
    const void* lf = std::memchr(begin, '\n', span);
    if (lf != nullptr) {
      size_t length = static_cast<const char*>(lf) - begin;
      line.append(begin, length);
      position_ += length + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    size_t taken = std::min(span, room);
    line.append(begin, taken);
    position_ += taken;
    if (span > taken) {
      if (!readLineBreakAtLimit()) cut_ = true;
      return true;
    }
  }
  atEnd_ = true;
  if (!gotAnyByte) failed_ = true;
  return gotAnyByte;
}

bool InputFile::get(char& byte) {
  if (failed_) return false;
  if (!fillBuffer(1)) {
    atEnd_ = true;
    failed_ = true;
    return false;
  }
  byte = buffer_[position_++];
  return true;
}
