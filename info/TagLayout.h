// Where the tags of an MPEG audio file end and the audio begins, and the byte-level rules
// of ID3v2 (sizes, unsynchronisation).
//
// An ID3v2 tag sits at the start: a 10-byte header ("ID3", version, revision, flags, four
// 7-bit size bytes), an optional extended header, frames and padding, and (ID3v2.4) an
// optional 10-byte footer. The header size counts the bytes after the header, footer
// excluded. Earlier versions of this library counted the header too; such ID3v2.3 tags end
// 10 bytes sooner and are recognised by their frames filling the tag up to that point with
// audio following. An ID3v1 tag is the last 128 bytes when they begin with "TAG".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace info {

namespace id3flag {
inline constexpr std::uint8_t kUnsynchronisation = 0x80;
inline constexpr std::uint8_t kExtendedHeader = 0x40;  // ID3v2.2: compression
inline constexpr std::uint8_t kFooter = 0x10;          // ID3v2.4
}  // namespace id3flag

struct Id3v2Header {
  static constexpr std::size_t kSize = 10;
  std::uint8_t major = 0;
  std::uint8_t revision = 0;
  std::uint8_t flags = 0;
  std::uint32_t size = 0;  // the 28 bits of the four size bytes
  bool sizeBit7 = false;   // a size byte has bit 7 set: the size is not trustworthy
  bool HasFooter() const { return major == 4 && (flags & id3flag::kFooter) != 0; }
};

// The header at the start of `bytes`, when they begin with "ID3" and hold 10 bytes.
std::optional<Id3v2Header> ParseId3v2Header(std::span<const std::uint8_t> bytes);

std::uint32_t BigEndian32(const std::uint8_t* p);
std::uint32_t Syncsafe32(const std::uint8_t* p);  // 7 bits of each byte
void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value);
void PutSyncsafe32(std::vector<std::uint8_t>& out, std::uint32_t value);
// Unsynchronisation: a zero byte after every FF that is followed by a byte >= E0 or by zero
// (and after a final FF); RemoveUnsync drops the zero byte after every FF.
std::vector<std::uint8_t> ApplyUnsync(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> RemoveUnsync(std::span<const std::uint8_t> bytes);

struct Id3v2RawFrame {
  std::string_view id;
  std::size_t offset = 0;  // of the frame header, from the tag start
  std::span<const std::uint8_t> payload;
};

// Walks ID3v2.3 frames of known identifiers from offset 10 up to `limit` (clamped to the
// bytes given); used to recognise the tags of earlier versions of this library. Returns
// where the walk stopped.
std::size_t WalkId3v2Frames(std::span<const std::uint8_t> tag, std::size_t limit,
                            const std::function<void(const Id3v2RawFrame&)>& visit);

// True when the four bytes at `at` form a usable MPEG audio frame header (any version).
bool IsMpegAudioHeader(std::span<const std::uint8_t> bytes, std::size_t at);

struct AudioSpan {
  std::size_t begin = 0;       // first byte after a leading ID3v2 tag
  std::size_t end = 0;         // first byte of a trailing ID3v1 tag, else the file size
  std::size_t tagBodyEnd = 0;  // end of the leading tag's frames and padding (0: no tag)
  // Why the leading tag's declared size cannot be trusted; empty when it can.
  std::string problem;
};

// The bytes of `file` between its tags.
AudioSpan LocateAudio(std::span<const std::uint8_t> file);

// The length of the MPEG audio frame whose header is at `at`, or 0 when none is there.
std::size_t MpegFrameLength(std::span<const std::uint8_t> bytes, std::size_t at);
// Empty when the audio span of `file` holds MPEG audio: three frames in a row, each header
// where the one before ends (or fewer reaching exactly to the end of the span); else why not.
std::string MpegAudioProblem(std::span<const std::uint8_t> file, const AudioSpan& span);

}  // namespace info
