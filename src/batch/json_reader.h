#ifndef SKEDOMAT_BATCH_JSON_READER_H
#define SKEDOMAT_BATCH_JSON_READER_H

#include <string>
#include <utility>
#include <vector>

// JSON read back from the files the batch writes itself: results lines and
// best scores. Numbers keep their text, so that a score reads back exactly
// as it was written. A string's \u00XX escape of a value 0x80 .. 0xFF gives
// that byte back, the inverse of how the writer escapes a byte that is no
// valid UTF-8; other escapes give their character as UTF-8.
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
// when it is not that.
bool parseJson(const std::string& text, JsonValue& value);

// Reads the whole file `path` into `text`; false, with `error`, when it
// cannot be read. `missing` tells a file that does not exist.
bool readWholeFile(const std::string& path, std::string& text, bool& missing,
                   std::string& error);

#endif  // SKEDOMAT_BATCH_JSON_READER_H
