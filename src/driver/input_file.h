#ifndef SKEDOMAT_DRIVER_INPUT_FILE_H
#define SKEDOMAT_DRIVER_INPUT_FILE_H

#include <cstdio>
#include <string>

// A file read line by line, byte for byte the same on every platform. A line
// is the bytes up to the next LF; a CR right before that LF belongs to the line
// break, every other byte (CR and 0x1A included) belongs to the line. Like an
// input stream it never throws: `fail` and `eof` tell what the last read met.
class InputFile {
 public:
  // Opens `path` for reading; a file that cannot be opened starts failed.
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads the next line into `line`, without its line break. Fails, leaving
  // `line` empty, when the file ends before a single byte could be read.
  // A last line without LF is read whole and sets `eof`.
  bool getline(std::string& line);

  // Reads one byte. Fails, setting `eof`, when the file has ended.
  bool get(char& byte);

  // True once a read has failed (or the file could not be opened).
  bool fail() const { return failed_; }
  // True once a read has met the end of the file.
  bool eof() const { return atEnd_; }

 private:
  bool fillBuffer();

  std::FILE* file_;
  char buffer_[1 << 16];
  size_t position_ = 0;
  size_t size_ = 0;
  bool failed_ = false;
  bool atEnd_ = false;
};

#endif  // SKEDOMAT_DRIVER_INPUT_FILE_H
