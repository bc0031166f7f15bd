// Puts new tags around the audio of a file: the new file is the new (or old) leading ID3v2
// tag, the audio between the old tags, and the new (or old) trailing ID3v1 tag. Exactly the
// old tags are removed, and the file is replaced as a whole (FileReplacer). A missing file
// is created holding just the tags.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace info {

class TagFileWriter {
 public:
  explicit TagFileWriter(std::string path) : path_(std::move(path)) {}
  TagFileWriter(const TagFileWriter&) = delete;
  TagFileWriter& operator=(const TagFileWriter&) = delete;

  // `head` replaces the leading tag, `tail` the trailing one; none keeps the old one.
  bool Replace(std::optional<std::span<const std::uint8_t>> head,
               std::optional<std::span<const std::uint8_t>> tail);
  const std::string& error() const { return error_; }

 private:
  std::string path_;
  std::string error_;
};

}  // namespace info
