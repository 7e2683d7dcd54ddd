#ifndef SKEDOMAT_BASE_OUTPUT_FILE_H
#define SKEDOMAT_BASE_OUTPUT_FILE_H

#include <cstdio>
#include <string>

// An output file that is whole or absent. Everything is written to a new
// temporary file beside the target; only when every byte of it is on the
// disk does a rename put it in the target's place, so that the target holds
// its old contents or the new ones whole, whatever stops the process. Bytes
// are written as given, except that each LF becomes the platform's line end.
// Any failure is remembered, so that an output that did not reach the disk
// is never taken for a result.
class OutputFile {
 public:
  // How the LF of the text given to write reaches the file.
  enum class LineEnds {
    Platform,  // as this platform's text files end lines (reports, pages)
    Lf         // unchanged, the same bytes everywhere (generated files)
  };

  OutputFile() = default;
  // Removes the temporary file unless it was committed.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the temporary file for the target `path`, which must name a
  // regular file or nothing; false when that fails.
  bool open(const std::string& path, LineEnds lineEnds = LineEnds::Platform);
  // Writes `text`, every byte of it, NUL bytes included.
  void write(const std::string& text);
  // Drops everything written so far.
  void discard();
  // Flushes the temporary file to the disk and closes it; false when any
  // write or the close failed. The target is not yet touched.
  bool finish();
  // Puts the finished temporary file in the target's place; false when it
  // was not finished whole or the rename fails.
  bool commit();
  // Both: finish, then commit.
  bool close();

  // Why the last failure happened, for a message on standard error.
  const std::string& errorText() const { return errorText_; }

 private:
  void fail();
  void removeTemporary();

  std::FILE* file_ = nullptr;
  LineEnds lineEnds_ = LineEnds::Platform;
  std::string targetPath_;
  std::string temporaryPath_;  // empty once renamed or removed
  bool finished_ = false;
  bool failed_ = false;
  std::string errorText_;
};

#endif  // SKEDOMAT_BASE_OUTPUT_FILE_H
