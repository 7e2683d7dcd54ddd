#include "batch/json_writer.h"

#include <cstdio>

namespace {

std::string escapedByte(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned>(byte));
  return text;
}

// The length of the valid UTF-8 sequence at `i`, 0 when there is none
// there: overlong forms, surrogates and code points beyond U+10FFFF are
// not valid.
size_t utf8SequenceLength(const std::string& text, size_t i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  const unsigned char second = static_cast<unsigned char>(text[i + 1]);
  if (lead == 0xE0 && second < 0xA0) return 0;   // overlong
  if (lead == 0xED && second >= 0xA0) return 0;  // surrogate
  if (lead == 0xF0 && second < 0x90) return 0;   // overlong
  if (lead == 0xF4 && second >= 0x90) return 0;  // beyond U+10FFFF
  return length;
}

void appendAscii(std::string& out, unsigned char byte) {
  if (byte == '"' || byte == '\\') {
    out += '\\';
    out += static_cast<char>(byte);
  } else if (byte < 0x20 || byte == 0x7F) {
    out += escapedByte(byte);
  } else {
    out += static_cast<char>(byte);
  }
}

}  // namespace

std::string jsonString(const std::string& bytes) {
  std::string out = "\"";
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      appendAscii(out, byte);
      ++i;
      continue;
    }
    const size_t length = utf8SequenceLength(bytes, i);
    if (length == 0) {
      out += escapedByte(byte);
      ++i;
    } else {
      out.append(bytes, i, length);
      i += length;
    }
  }
  return out + "\"";
}

JsonObject& JsonObject::add(const std::string& key, const std::string& valueText) {
  if (!fields_.empty()) fields_ += ",";
  fields_ += jsonString(key) + ":" + valueText;
  return *this;
}

JsonObject& JsonObject::string(const std::string& key, const std::string& value) {
  return add(key, jsonString(value));
}

JsonObject& JsonObject::number(const std::string& key, const std::string& text) {
  return add(key, text);
}

JsonObject& JsonObject::integer(const std::string& key, int64_t value) {
  return add(key, std::to_string(value));
}

JsonObject& JsonObject::integers(const std::string& key,
                                 const std::vector<int64_t>& values) {
  std::string text = "[";
  for (size_t i = 0; i < values.size(); ++i)
    text += (i == 0 ? "" : ",") + std::to_string(values[i]);
  return add(key, text + "]");
}

JsonObject& JsonObject::null(const std::string& key) { return add(key, "null"); }

JsonObject& JsonObject::object(const std::string& key, const JsonObject& value) {
  return add(key, value.text());
}
