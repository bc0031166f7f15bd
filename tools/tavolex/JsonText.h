// A JSON object written member by member, for the commands' --json output. Strings are
// taken as bytes: file names that are not UTF-8 keep every byte (fileio::JsonEscape).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/fileio/PathText.h"

namespace tavolex_cli {

class JsonObject {
 public:
  JsonObject& Number(std::string_view key, std::int64_t value) {
    return Raw(key, std::to_string(value));
  }
  JsonObject& Bool(std::string_view key, bool value) { return Raw(key, value ? "true" : "false"); }
  JsonObject& String(std::string_view key, std::string_view value) {
    return Raw(key, "\"" + fileio::JsonEscape(value) + "\"");
  }
  // `json` is a complete JSON value (an array or object made by the caller).
  JsonObject& Raw(std::string_view key, std::string_view json) {
    text_ += text_.empty() ? "{" : ", ";
    text_ += "\"" + fileio::JsonEscape(key) + "\": ";
    text_ += json;
    return *this;
  }
  std::string Text() const { return text_.empty() ? "{}" : text_ + "}"; }

 private:
  std::string text_;
};

// Joins complete JSON values into an array.
class JsonArray {
 public:
  JsonArray& Add(std::string_view json) {
    text_ += text_.empty() ? "[" : ", ";
    text_ += json;
    return *this;
  }
  std::string Text() const { return text_.empty() ? "[]" : text_ + "]"; }

 private:
  std::string text_;
};

}  // namespace tavolex_cli
