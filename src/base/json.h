#ifndef SKEDOMAT_BASE_JSON_H
#define SKEDOMAT_BASE_JSON_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// JSON as the program writes it and reads it back: one object on one line,
// built field by field, and a strict reader of such text.
//
// Strings are bytes. The writer copies valid UTF-8 as it is (quote,
// backslash and control characters escaped) and writes each byte that is
// not part of a valid UTF-8 sequence as \u00XX with the byte's value; the
// reader turns a \u00XX escape of 0x80 .. 0xFF back into that byte, so any
// file name survives the round trip. Numbers keep their text, so that a
// score reads back exactly as it was written; the writer takes only finite
// numbers and the reader refuses what is not a JSON number or does not fit
// in a double.

class JsonObject {
 public:
  JsonObject& string(const std::string& key, const std::string& value);
  // `text` is already a JSON number.
  JsonObject& number(const std::string& key, const std::string& text);
  // A finite double, as the shortest text that reads back as it.
  JsonObject& real(const std::string& key, double value);
  JsonObject& integer(const std::string& key, int64_t value);
  JsonObject& integers(const std::string& key, const std::vector<int64_t>& values);
  JsonObject& reals(const std::string& key, const std::vector<double>& values);
  JsonObject& boolean(const std::string& key, bool value);
  JsonObject& null(const std::string& key);
  JsonObject& object(const std::string& key, const JsonObject& value);

  // The object's text, "{...}", without a line end.
  std::string text() const { return "{" + fields_ + "}"; }

 private:
  JsonObject& add(const std::string& key, const std::string& valueText);

  std::string fields_;
};

// `bytes` as a quoted JSON string, escaped as described above.
std::string jsonString(const std::string& bytes);

// The shortest decimal text that reads back as the finite `value` exactly;
// whole numbers below 1e15 as integers.
std::string exactDoubleText(double value);

struct JsonValue {
  enum class Kind { Null, Boolean, Number, String, Array, Object };

  Kind kind = Kind::Null;
  std::string text;  // a string's bytes, a number's text, "true" or "false"
  std::vector<JsonValue> elements;                         // of an array
  std::vector<std::pair<std::string, JsonValue>> members;  // of an object

  // The member `key` of an object; null when there is none.
  const JsonValue* member(const std::string& key) const;
};

// Parses `text`, one JSON value with nothing but blanks after it; false
// when it is not that. Besides the grammar, refused are: numbers beyond a
// double's range, an object with a key twice, and nesting deeper than 64.
bool parseJson(const std::string& text, JsonValue& value);

#endif  // SKEDOMAT_BASE_JSON_H
