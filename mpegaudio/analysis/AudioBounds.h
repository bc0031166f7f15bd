// Where the audio of an MPEG file lies between tags: after leading ID3v2 tags (ID3v2.3/2.4
// header: "ID3", version, flags, synchsafe size; a footer of 10 bytes when flagged) and
// before a trailing ID3v1 tag ("TAG" in the last 128 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace mpegaudio {

inline constexpr std::size_t kId3v2HeaderBytes = 10;
inline constexpr std::size_t kId3v1Bytes = 128;

// Total size (header, body and footer) of the ID3v2 tag whose header starts at `bytes`;
// 0 when the bytes are no tag header.
std::uint32_t Id3v2TagSize(const std::uint8_t* bytes, std::size_t length);

// True when the 128 bytes at `bytes` are an ID3v1 tag.
bool IsId3v1Tag(const std::uint8_t* bytes, std::size_t length);

struct AudioBounds {
  std::uint32_t start = 0;  // first byte after the leading tags
  std::uint32_t end = 0;    // first byte of a trailing ID3v1 tag, else the file size
  std::uint32_t Bytes() const { return end > start ? end - start : 0; }
};

// Random access to a file's bytes for FindAudioBounds: reads up to `count` bytes at
// `offset` and returns how many it got.
class ByteReader {
 public:
  virtual ~ByteReader() = default;
  virtual std::size_t ReadAt(std::uint32_t offset, std::uint8_t* buffer, std::size_t count) = 0;
};

// Skips consecutive leading ID3v2 tags (a tag that would reach past the end of the file
// is taken for stray bytes and not skipped) and finds a trailing ID3v1 tag.
AudioBounds FindAudioBounds(ByteReader& file, std::uint32_t fileSize);

}  // namespace mpegaudio
