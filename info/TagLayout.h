// Where the tags of an MPEG audio file end and the audio begins.
//
// An ID3v2 tag sits at the start: a 10-byte header ("ID3", version, revision, flags, four
// 7-bit size bytes) followed by frames (4-byte identifier, 32-bit big-endian size, 2 flag
// bytes, payload) and padding. The header size counts the bytes after the header. Earlier
// versions of this library counted the header too; such tags end 10 bytes sooner and are
// recognised by their frames filling the tag up to that point with audio following.
// An ID3v1 tag is the last 128 bytes when they begin with "TAG".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace info {

struct Id3v2Header {
  static constexpr std::size_t kSize = 10;
  std::uint8_t major = 0;
  std::uint8_t revision = 0;
  std::uint8_t flags = 0;
  std::uint32_t size = 0;  // from the four size bytes, bit 7 of each not masked
};

// The header at the start of `bytes`, when they begin with "ID3" and hold 10 bytes.
std::optional<Id3v2Header> ParseId3v2Header(std::span<const std::uint8_t> bytes);

struct Id3v2RawFrame {
  std::string_view id;
  std::size_t offset = 0;  // of the frame header, from the tag start
  std::span<const std::uint8_t> payload;
};

// Walks the frames of the tag at the start of `tag` from offset 10 up to `limit` (clamped
// to the bytes given). Stops at padding, at an identifier that is not an ID3v2.3 frame and
// at a frame whose payload would run past the limit. Returns where the walk stopped.
std::size_t WalkId3v2Frames(std::span<const std::uint8_t> tag, std::size_t limit,
                            const std::function<void(const Id3v2RawFrame&)>& visit);

// True when the four bytes at `at` form a usable MPEG audio frame header (any version).
bool IsMpegAudioHeader(std::span<const std::uint8_t> bytes, std::size_t at);

struct AudioSpan {
  std::size_t begin = 0;  // first byte after a leading ID3v2 tag
  std::size_t end = 0;    // first byte of a trailing ID3v1 tag, else the file size
};

// The bytes of `file` between its tags.
AudioSpan LocateAudio(std::span<const std::uint8_t> file);

}  // namespace info
