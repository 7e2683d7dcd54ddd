#include "driver/report_stream.h"

#include "base/output_file.h"

ReportStream::Buffer::Buffer(OutputFile& report, const std::string& heading)
    : report_(report), heading_(heading) {
  setp(bytes_, bytes_ + sizeof bytes_);
}

void ReportStream::Buffer::writeOut() {
  if (!started_) {
    report_.write(heading_);
    started_ = true;
  }
  if (pptr() != pbase()) report_.write(std::string(pbase(), pptr()));
  setp(bytes_, bytes_ + sizeof bytes_);
}

ReportStream::Buffer::int_type ReportStream::Buffer::overflow(int_type byte) {
  writeOut();
  if (!traits_type::eq_int_type(byte, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(byte);
    pbump(1);
  }
  return traits_type::not_eof(byte);
}

int ReportStream::Buffer::sync() {
  if (started()) writeOut();
  return 0;
}

ReportStream::ReportStream(OutputFile& report, const std::string& heading)
    : std::ostream(nullptr), buffer_(report, heading) {
  rdbuf(&buffer_);
}

ReportStream::~ReportStream() { rdbuf(nullptr); }

void ReportStream::finish() { buffer_.writeOut(); }
