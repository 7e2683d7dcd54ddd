#ifndef SKEDOMAT_BATCH_JSON_WRITER_H
#define SKEDOMAT_BATCH_JSON_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

// One JSON object on one line, built field by field in the order given.
// Strings are taken as bytes: valid UTF-8 is copied as it is (quote,
// backslash and control characters escaped), and each byte that is not part
// of a valid UTF-8 sequence is written as \u00XX with the byte's value, the
// code point of the same number in Latin-1; so any file name gives valid
// JSON, though such a byte reads back as that Latin-1 character.
class JsonObject {
 public:
  JsonObject& string(const std::string& key, const std::string& value);
  // `text` is already a JSON number.
  JsonObject& number(const std::string& key, const std::string& text);
  JsonObject& integer(const std::string& key, int64_t value);
  JsonObject& integers(const std::string& key, const std::vector<int64_t>& values);
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

#endif  // SKEDOMAT_BATCH_JSON_WRITER_H
