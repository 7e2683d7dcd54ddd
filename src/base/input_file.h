#ifndef SKEDOMAT_BASE_INPUT_FILE_H
#define SKEDOMAT_BASE_INPUT_FILE_H

#include <cstddef>
#include <cstdio>
#include <string>

// A file read line by line, byte for byte the same on every platform. A line
// is the bytes up to the next LF; a CR right before that LF belongs to the line
// break, every other byte (CR and 0x1A included) belongs to the line. Like an
// input stream it never throws: `fail` and `eof` tell what the last read met.
//
// Memory stays bounded on any file: a line longer than MaxLineLength is cut
// there, and the file stops. Every later getline fails, while get still reads
// the byte after the cut, so a reader that checks for the end of the file
// finds it missing.
class InputFile {
 public:
  // Far beyond any line of a real test case or submission.
  static constexpr size_t MaxLineLength = size_t(1) << 20;

  // Opens `path` for reading; a file that cannot be opened starts failed.
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads the next line into `line`, without its line break. Fails, leaving
  // `line` empty, when the file ends before a single byte could be read or
  // a line was cut before. A last line without LF is read whole and sets
  // `eof`. Of a longer line, delivers the first MaxLineLength bytes (a CR
  // among them stays in the line) and leaves the rest unread.
  bool getline(std::string& line);

  // Reads one byte. Fails, setting `eof`, when the file has ended.
  bool get(char& byte);

  // True once a read has failed (or the file could not be opened).
  bool fail() const { return failed_; }
  // True once a read has met the end of the file.
  bool eof() const { return atEnd_; }
  // True once getline has cut a line. No later line is delivered, so this
  // tells whether the last line delivered was cut.
  bool lastLineCut() const { return cut_; }

 private:
  size_t unread() const { return size_ - position_; }
  bool fillBuffer(size_t count);
  bool readLineBreakAtLimit();

  std::FILE* file_;
  char buffer_[1 << 16];
  size_t position_ = 0;
  size_t size_ = 0;
  bool drained_ = false;  // the file has no bytes beyond the buffer
  bool failed_ = false;
  bool atEnd_ = false;
  bool cut_ = false;
};

#endif  // SKEDOMAT_BASE_INPUT_FILE_H
