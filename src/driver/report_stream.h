#ifndef SKEDOMAT_DRIVER_REPORT_STREAM_H
#define SKEDOMAT_DRIVER_REPORT_STREAM_H

#include <ostream>
#include <streambuf>
#include <string>

class OutputFile;

// An output stream into a report file, so that text produced piece by
// piece (the validation's messages, which may be hundreds of megabytes)
// goes to the file as it comes instead of being held in memory. `heading`
// is written before the first byte.
class ReportStream : public std::ostream {
 public:
  ReportStream(OutputFile& report, const std::string& heading);
  ~ReportStream() override;

  // True once any byte has been written through the stream.
  bool started() const { return buffer_.started(); }
  // Writes out what is buffered, and the heading if nothing came.
  void finish();

 private:
  class Buffer : public std::streambuf {
   public:
    Buffer(OutputFile& report, const std::string& heading);
    bool started() const { return started_ || pptr() != pbase(); }
    void writeOut();

   protected:
    int_type overflow(int_type byte) override;
    int sync() override;

   private:
    OutputFile& report_;
    std::string heading_;
    bool started_ = false;
    char bytes_[1 << 16];
  };

  Buffer buffer_;
};

#endif  // SKEDOMAT_DRIVER_REPORT_STREAM_H
