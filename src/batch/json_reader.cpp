#include "batch/json_reader.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

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

  bool parseNumber(JsonValue& value) {
    const size_t start = position_;
    while (position_ < text_.size() &&
           std::string("+-0123456789.eE").find(text_[position_]) != std::string::npos)
      ++position_;
    value.kind = JsonValue::Kind::Number;
    value.text = text_.substr(start, position_ - start);
    char* end = nullptr;
    std::strtod(value.text.c_str(), &end);
    return !value.text.empty() && end == value.text.c_str() + value.text.size();
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
    take('{');
    if (take('}')) return true;
    do {
      std::string key;
      skipBlanks();
      if (!parseString(key) || !take(':')) return false;
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

bool readWholeFile(const std::string& path, std::string& text, bool& missing,
                   std::string& error) {
  const std::filesystem::path file = std::filesystem::u8path(path);
  std::error_code code;
  missing = !std::filesystem::exists(file, code);
  if (missing) {
    error = "datoteka ne obstaja";
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad() || !std::filesystem::is_regular_file(file, code)) {
    error = "datoteke ni mogoce brati";
    return false;
  }
  return true;
}
