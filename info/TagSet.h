// The ID3v1 and ID3v2 tags of one file, read and written together.
//
// Texts come from the ID3v2 frame first and from the six ID3v1 fields (title, artist,
// album, year, comment, genre) when the ID3v2 tag lacks the frame. Writing keeps every
// frame that was read and not changed, so a save built on a Read of the same file loses
// nothing of the old tags.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "info/Id3v1Tag.h"
#include "info/Id3v2Tag.h"

namespace info {

class TagSet {
 public:
  TagSet() = default;
  TagSet(const TagSet&) = delete;
  TagSet& operator=(const TagSet&) = delete;

  // Reads both tags of `path`; true when either read succeeded.
  bool Read(const std::string& path);
  // Writes both tags into `path` in one replacement of the file; the ID3v1 tag repeats
  // the six texts of the ID3v2 frames. True when the file was replaced.
  bool Write(const std::string& path);

  std::optional<std::string> FrameText(std::string_view id) const;
  // Puts `text` into the frame `id` (creating it when missing) and into the matching
  // ID3v1 field. An empty text removes the frame and clears the field.
  void SetFrameText(std::string_view id, std::string_view text);

  const std::string& error() const { return error_; }

  Id3v1Tag v1;
  Id3v2Tag v2;

 private:
  void CopyToId3v1(std::string_view id, std::string_view text);

  std::string error_;
};

}  // namespace info
