#include "info/TagLayout.h"

#include <algorithm>
#include <cstring>

#include "info/Id3FrameTable.h"

namespace info {

namespace {

constexpr std::uint8_t kFooterFlag = 0x10;  // ID3v2.4: a 10-byte footer follows the tag

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Where a leading ID3v2 tag really ends (see the header comment).
std::size_t TagEnd(std::span<const std::uint8_t> file, const Id3v2Header& header) {
  const std::size_t legacyEnd = header.size;
  if (legacyEnd >= Id3v2Header::kSize && legacyEnd <= file.size()) {
    const std::size_t walked = WalkId3v2Frames(file, legacyEnd + Id3v2Header::kSize, nullptr);
    const bool audioFollows = legacyEnd == file.size() || IsMpegAudioHeader(file, legacyEnd) ||
                              (file.size() - legacyEnd == 128 &&
                               std::memcmp(file.data() + legacyEnd, "TAG", 3) == 0);
    if (walked == legacyEnd && audioFollows) return legacyEnd;
  }
  std::size_t end = Id3v2Header::kSize + std::size_t{header.size};
  if (header.major == 4 && (header.flags & kFooterFlag) != 0) end += Id3v2Header::kSize;
  return std::min(end, file.size());
}

}  // namespace

std::optional<Id3v2Header> ParseId3v2Header(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < Id3v2Header::kSize || std::memcmp(bytes.data(), "ID3", 3) != 0)
    return std::nullopt;
  Id3v2Header header;
  header.major = bytes[3];
  header.revision = bytes[4];
  header.flags = bytes[5];
  header.size = ((std::uint32_t{bytes[6]} * 128 + bytes[7]) * 128 + bytes[8]) * 128 + bytes[9];
  return header;
}

std::size_t WalkId3v2Frames(std::span<const std::uint8_t> tag, std::size_t limit,
                            const std::function<void(const Id3v2RawFrame&)>& visit) {
  limit = std::min(limit, tag.size());
  std::size_t p = Id3v2Header::kSize;
  while (p + 10 <= limit) {
    if (tag[p] == 0) break;
    const std::string_view id(reinterpret_cast<const char*>(tag.data() + p), 4);
    if (!IsKnownFrame(id)) break;
    const std::size_t size = BigEndian32(tag.data() + p + 4);
    if (size > limit - p - 10) break;
    if (visit) visit(Id3v2RawFrame{id, p, tag.subspan(p + 10, size)});
    p += 10 + size;
  }
  return p;
}

bool IsMpegAudioHeader(std::span<const std::uint8_t> bytes, std::size_t at) {
  if (at > bytes.size() || bytes.size() - at < 4) return false;
  const std::uint32_t h = BigEndian32(bytes.data() + at);
  const unsigned version = (h >> 19) & 3, layer = (h >> 17) & 3;
  const unsigned bitrate = (h >> 12) & 15, rate = (h >> 10) & 3;
  return (h & 0xFFE00000u) == 0xFFE00000u && version != 1 && layer != 0 && bitrate != 15 &&
         rate != 3;
}

AudioSpan LocateAudio(std::span<const std::uint8_t> file) {
  AudioSpan span{0, file.size()};
  if (const auto header = ParseId3v2Header(file)) span.begin = TagEnd(file, *header);
  if (file.size() >= 128 && file.size() - 128 >= span.begin &&
      std::memcmp(file.data() + file.size() - 128, "TAG", 3) == 0)
    span.end = file.size() - 128;
  return span;
}

}  // namespace info
