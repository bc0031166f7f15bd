// An ID3v2 tag: read in versions 2.2, 2.3 and 2.4, written as 2.4 when it was read as 2.4
// and as 2.3 otherwise.
//
// Reading undoes tag- and frame-level unsynchronisation, skips extended headers and the
// ID3v2.4 footer, reads ID3v2.4 frame sizes as syncsafe numbers (falling back to plain ones
// where a tagger wrote those) and maps ID3v2.2 frames to their ID3v2.3 form. Frames keep
// their stored bytes and flags, so writing the tag back changes only the frames whose text
// was set. What cannot be saved without loss (a size the file cannot hold, a frame running
// past its tag, an ID3v2.2 frame without an ID3v2.3 form, an unknown version) is recorded
// in saveProblem(); reading still gives what was safe to read.
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

  // Parses the tag at the start of `file` (the whole file, so that the tag's end can be
  // checked against what follows). True when the file begins with an ID3v2 header.
  bool Parse(std::span<const std::uint8_t> file);
  // The tag as written, `room` being the bytes the old tag took before the audio: the
  // header, the frames and the bytes the walk could not read, then padding up to `room`
  // when the tag fits there (so the audio does not move), else 1024 bytes of padding. An
  // empty result when there is nothing to write; none when the tag cannot be written
  // (saveProblem(), or more than the 28 bits of the size field).
  std::optional<std::vector<std::uint8_t>> Render(std::size_t room = 0) const;

  // Index of the first frame with identifier `id`, or -1.
  int Find(std::string_view id) const;
  std::vector<Id3v2Frame>& Frames() { return frames_; }
  const std::vector<Id3v2Frame>& Frames() const { return frames_; }
  void Clear();

  // The version a save writes: 4 for a tag read as ID3v2.4, else 3.
  int OutputMajor() const { return major == 4 ? 4 : 3; }
  const std::string& saveProblem() const { return problem_; }

  bool present = false;
  std::uint8_t major = 0;  // of the tag read (0: none)
  std::uint8_t flags = 0;  // header flags of the tag read

 private:
  void ReadFrames(std::span<const std::uint8_t> body, bool tagUnsync);
  std::size_t FrameSize(std::span<const std::uint8_t> body, std::size_t at) const;
  bool AddFrame(std::string_view id, std::uint16_t frameFlags, std::span<const std::uint8_t> data,
                bool tagUnsync);

  std::vector<Id3v2Frame> frames_;
  std::vector<std::uint8_t> unreadFrames_;  // from where the frame walk stopped to the padding
  std::string problem_;
};

}  // namespace info
