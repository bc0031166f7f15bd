// An ID3v2 tag: read with the ID3v2.3.0 frame layout whatever version its header states,
// written as version 2.3.0 with the standard size (the bytes after the 10-byte header).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "info/Id3v2Frame.h"

namespace info {

class Id3v2Tag {
 public:
  Id3v2Tag() = default;
  Id3v2Tag(const Id3v2Tag&) = delete;
  Id3v2Tag& operator=(const Id3v2Tag&) = delete;

  // True when `path` begins with an ID3v2 tag of non-zero size.
  bool Read(const std::string& path);
  // Parses the tag at the start of `file`; the frame walk stays inside the tag and the bytes.
  bool Parse(std::span<const std::uint8_t> file);
  // Replaces the file's leading tag with this one (no tag when no frame has a payload);
  // the file is replaced as a whole, so a failure leaves it as it was.
  bool Write(const std::string& path);
  // The tag as written: header and every frame with a payload, then the frames the walk
  // could not read (kept verbatim from an ID3v2.3 tag), no padding. None when that does not
  // fit the 28 bits of the size field.
  std::optional<std::vector<std::uint8_t>> Render() const;

  // Index of the first frame with identifier `id`, or -1.
  int Find(std::string_view id) const;
  std::vector<Id3v2Frame>& Frames() { return frames_; }
  const std::vector<Id3v2Frame>& Frames() const { return frames_; }
  void Clear();

  bool present = false;
  std::uint32_t size = 0;  // the size field of the header read

 private:
  std::vector<Id3v2Frame> frames_;
  std::vector<std::uint8_t> unreadFrames_;  // from where the frame walk stopped to the padding
};

}  // namespace info
