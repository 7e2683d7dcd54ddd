#include "driver/input_file.h"

#include <cstring>

#include "driver/platform.h"

InputFile::InputFile(const std::string& path)
    : file_(platform::openFile(path, "rb")) {
  if (file_ == nullptr) failed_ = true;
}

InputFile::~InputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool InputFile::fillBuffer() {
  if (position_ < size_) return true;
  if (file_ == nullptr || atEnd_) return false;
  size_ = std::fread(buffer_, 1, sizeof buffer_, file_);
  position_ = 0;
  if (size_ == 0) {
    atEnd_ = true;
    return false;
  }
  return true;
}

bool InputFile::getline(std::string& line) {
  line.clear();
  if (failed_) return false;
  bool gotAnyByte = false;
  while (fillBuffer()) {
    gotAnyByte = true;
    const char* begin = buffer_ + position_;
    const void* lf = std::memchr(begin, '\n', size_ - position_);
    if (lf == nullptr) {
      line.append(begin, size_ - position_);
      position_ = size_;
      continue;
    }
    size_t length = static_cast<const char*>(lf) - begin;
    line.append(begin, length);
    position_ += length + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }
  if (!gotAnyByte) failed_ = true;
  return gotAnyByte;
}

bool InputFile::get(char& byte) {
  if (failed_ || !fillBuffer()) {
    failed_ = true;
    return false;
  }
  byte = buffer_[position_++];
  return true;
}
