#include "base/json.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

namespace {

// Values nested deeper than this are refused, so no file can exhaust the
// stack.
const int MaxDepth = 64;

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  bool parseDocument(JsonValue& value) {
    if (!parseValue(value, 0)) return false;
    skipBlanks();
    return position_ == text_.size();
  }

 private:
  void skipBlanks() {
    while (position_ < text_.size() &&
           (text_[position_] == ' ' || text_[position_] == '\t' ||
            text_[position_] == '\n' || text_[position_] == '\r'))
      ++position_;
  }

  bool take(char c) {
    skipBlanks();
    if (position_ >= text_.size() || text_[position_] != c) return false;
    ++position_;
    return true;
  }

  bool takeWord(const char* word) {
    const std::string expected(word);
    if (text_.compare(position_, expected.size(), expected) != 0) return false;
    position_ += expected.size();
    return true;
  }

  bool parseValue(JsonValue& value, int depth) {
    if (depth > MaxDepth) return false;
    skipBlanks();
    if (position_ >= text_.size()) return false;
    const char c = text_[position_];
    if (c == '{') return parseObject(value, depth);
    if (c == '[') return parseArray(value, depth);
    if (c == '"') {
      value.kind = JsonValue::Kind::String;
      return parseString(value.text);
    }
    if (takeWord("null")) {
      value.kind = JsonValue::Kind::Null;
      return true;
    }
    if (takeWord("true") || takeWord("false")) {
      value.kind = JsonValue::Kind::Boolean;
      value.text = c == 't' ? "true" : "false";
      return true;
    }
    return parseNumber(value);
  }

  bool digitsAt(size_t& at) const {
    const size_t start = at;
    while (at < text_.size() && text_[at] >= '0' && text_[at] <= '9') ++at;
    return at > start;
  }

  // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?, finite as a double.
  bool parseNumber(JsonValue& value) {
    size_t at = position_;
    if (at < text_.size() && text_[at] == '-') ++at;
    const size_t integerStart = at;
    if (!digitsAt(at)) return false;
    if (text_[integerStart] == '0' && at - integerStart > 1) return false;
    if (at < text_.size() && text_[at] == '.' && !digitsAt(++at)) return false;
    if (at < text_.size() && (text_[at] == 'e' || text_[at] == 'E')) {
      ++at;
      if (at < text_.size() && (text_[at] == '+' || text_[at] == '-')) ++at;
      if (!digitsAt(at)) return false;
    }
    value.kind = JsonValue::Kind::Number;
    value.text = text_.substr(position_, at - position_);
    position_ = at;
    return std::isfinite(std::strtod(value.text.c_str(), nullptr));
  }

  bool parseHex4(uint32_t& code) {
    if (position_ + 4 > text_.size()) return false;
    code = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[position_++];
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) return false;
      code = code * 16 + static_cast<uint32_t>(digit);
    }
    return true;
  }

  static void appendUtf8(uint32_t code, std::string& out) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  bool parseEscape(std::string& out) {
    if (position_ >= text_.size()) return false;
    const char c = text_[position_++];
    const std::string simple = "\"\\/bfnrt";
    const std::string meaning = "\"\\/\b\f\n\r\t";
    const size_t found = simple.find(c);
    if (found != std::string::npos) {
      out += meaning[found];
      return true;
    }
    uint32_t code = 0;
    if (c != 'u' || !parseHex4(code)) return false;
    // A byte that was no valid UTF-8 comes back as that byte.
    if (code >= 0x80 && code <= 0xFF) {
      out += static_cast<char>(code);
    } else {
      appendUtf8(code, out);
    }
    return true;
  }

  bool parseString(std::string& out) {
    if (!take('"')) return false;
    out.clear();
    while (position_ < text_.size()) {
      const char c = text_[position_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out += c;
      } else if (!parseEscape(out)) {
        return false;
      }
    }
    return false;
  }

  bool parseArray(JsonValue& value, int depth) {
    value.kind = JsonValue::Kind::Array;
    take('[');
    if (take(']')) return true;
    do {
      value.elements.emplace_back();
      if (!parseValue(value.elements.back(), depth + 1)) return false;
    } while (take(','));
    return take(']');
  }

  bool parseObject(JsonValue& value, int depth) {
    value.kind = JsonValue::Kind::Object;
    std::unordered_set<std::string> keys;
    take('{');
    if (take('}')) return true;
    do {
      std::string key;
      skipBlanks();
      if (!parseString(key) || !take(':') || !keys.insert(key).second) return false;
      value.members.emplace_back(key, JsonValue());
      if (!parseValue(value.members.back().second, depth + 1)) return false;
    } while (take(','));
    return take('}');
  }

  const std::string& text_;
  size_t position_ = 0;
};

}  // namespace

const JsonValue* JsonValue::member(const std::string& key) const {
  for (const auto& entry : members)
    if (entry.first == key) return &entry.second;
  return nullptr;
}

bool parseJson(const std::string& text, JsonValue& value) {
  value = JsonValue();
  return Parser(text).parseDocument(value);
}


// The writer.

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

JsonObject& JsonObject::real(const std::string& key, double value) {
  return add(key, exactDoubleText(value));
}

JsonObject& JsonObject::reals(const std::string& key, const std::vector<double>& values) {
  std::string text = "[";
  for (size_t i = 0; i < values.size(); ++i)
    text += (i == 0 ? "" : ",") + exactDoubleText(values[i]);
  return add(key, text + "]");
}

JsonObject& JsonObject::boolean(const std::string& key, bool value) {
  return add(key, value ? "true" : "false");
}

std::string exactDoubleText(double value) {
  // Nothing but a finite number may reach a JSON file.
  if (!std::isfinite(value)) value = 0;
  // Whole numbers as integers: "%.3g" would give 3750 as "3.75e+03".
  if (std::fabs(value) < 1e15 && value == std::floor(value))
    return std::to_string(static_cast<int64_t>(value));
  char text[40];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}
