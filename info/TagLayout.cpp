#include "info/TagLayout.h"

#include <algorithm>
#include <cstring>

#include "info/Id3FrameTable.h"
#include "info/MpegHeaderTables.h"

namespace info {

namespace {

bool IsId3v1At(std::span<const std::uint8_t> file, std::size_t at) {
  return file.size() >= 128 && at == file.size() - 128 &&
         std::memcmp(file.data() + at, "TAG", 3) == 0;
}

// True when what follows a tag ending at `end` is zero padding up to audio, another tag or
// the end of the file.
bool AudioFollows(std::span<const std::uint8_t> file, std::size_t end) {
  while (end < file.size() && file[end] == 0) ++end;
  return end == file.size() || IsId3v1At(file, end) || IsMpegAudioHeader(file, end) ||
         (file.size() - end >= 3 && std::memcmp(file.data() + end, "ID3", 3) == 0);
}

// A tag of an earlier version of this library, whose size counted its header: its ID3v2.3
// frames fill it exactly and audio follows.
bool IsLegacyTag(std::span<const std::uint8_t> file, const Id3v2Header& header) {
  const std::size_t legacyEnd = header.size;
  if (header.major != 3 || header.flags != 0 || legacyEnd < Id3v2Header::kSize ||
      legacyEnd > file.size())
    return false;
  const std::size_t walked = WalkId3v2Frames(file, legacyEnd, nullptr);
  const bool audioFollows =
      legacyEnd == file.size() || IsMpegAudioHeader(file, legacyEnd) || IsId3v1At(file, legacyEnd);
  return walked == legacyEnd && audioFollows;
}

}  // namespace

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

std::uint32_t Syncsafe32(const std::uint8_t* p) {
  return ((std::uint32_t{p[0]} & 0x7F) << 21) | ((std::uint32_t{p[1]} & 0x7F) << 14) |
         ((std::uint32_t{p[2]} & 0x7F) << 7) | (p[3] & 0x7Fu);
}

void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutSyncsafe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 21; shift >= 0; shift -= 7)
    out.push_back(static_cast<std::uint8_t>((value >> shift) & 0x7F));
}

std::vector<std::uint8_t> ApplyUnsync(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  out.reserve(bytes.size() + bytes.size() / 64);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out.push_back(bytes[i]);
    if (bytes[i] == 0xFF && (i + 1 == bytes.size() || bytes[i + 1] >= 0xE0 || bytes[i + 1] == 0))
      out.push_back(0);
  }
  return out;
}

std::vector<std::uint8_t> RemoveUnsync(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out.push_back(bytes[i]);
    if (bytes[i] == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == 0) ++i;
  }
  return out;
}

std::optional<Id3v2Header> ParseId3v2Header(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < Id3v2Header::kSize || std::memcmp(bytes.data(), "ID3", 3) != 0)
    return std::nullopt;
  Id3v2Header header;
  header.major = bytes[3];
  header.revision = bytes[4];
  header.flags = bytes[5];
  header.size = Syncsafe32(bytes.data() + 6);
  header.sizeBit7 = ((bytes[6] | bytes[7] | bytes[8] | bytes[9]) & 0x80) != 0;
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
  AudioSpan span{0, file.size(), 0, {}};
  if (const auto header = ParseId3v2Header(file)) {
    std::size_t end = 0;
    if (header->sizeBit7) {
      span.problem = "its ID3v2 tag size has a byte with bit 7 set";
      end = std::min<std::size_t>(Id3v2Header::kSize + header->size, file.size());
      span.tagBodyEnd = end;
    } else if (IsLegacyTag(file, *header)) {
      end = header->size;
      span.tagBodyEnd = end;
    } else {
      const std::size_t bodyEnd = Id3v2Header::kSize + std::size_t{header->size};
      end = bodyEnd + (header->HasFooter() ? Id3v2Header::kSize : 0);
      if (end > file.size()) {
        span.problem = "its ID3v2 tag claims " + std::to_string(end) +
                       " bytes but the file holds " + std::to_string(file.size());
        end = file.size();
      } else if (!AudioFollows(file, end)) {
        span.problem = "its ID3v2 tag is not followed by padding, audio or the end of the file";
      }
      span.tagBodyEnd = std::min(bodyEnd, file.size());
    }
    span.begin = end;
  }
  if (file.size() >= 128 && file.size() - 128 >= span.begin && IsId3v1At(file, file.size() - 128))
    span.end = file.size() - 128;
  return span;
}

std::size_t MpegFrameLength(std::span<const std::uint8_t> bytes, std::size_t at) {
  if (!IsMpegAudioHeader(bytes, at)) return 0;
  const std::uint32_t h = BigEndian32(bytes.data() + at);
  const unsigned versionBits = (h >> 19) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  const std::size_t version = versionBits == 3 ? 0 : versionBits == 2 ? 1 : 2;
  const std::size_t lsf = version == 0 ? 0 : 1;
  const std::size_t layer = 4 - ((h >> 17) & 3);
  const int kbps = mpeg::kBitrateKbps[lsf][layer - 1][(h >> 12) & 15];
  const int rate = mpeg::kSamplingRateHz[version][(h >> 10) & 3];
  const std::size_t padding = (h >> 9) & 1;
  if (kbps == 0) return 0;  // free format: no length from the header
  if (layer == 1) return (static_cast<std::size_t>(kbps) * 12000 / rate + padding) * 4;
  if (layer == 3 && lsf == 1) return static_cast<std::size_t>(kbps) * 72000 / rate + padding;
  return static_cast<std::size_t>(kbps) * 144000 / rate + padding;
}

std::string MpegAudioProblem(std::span<const std::uint8_t> file, const AudioSpan& span) {
  constexpr int kRun = 3;
  const std::span<const std::uint8_t> audio = file.first(span.end);
  if (span.end - span.begin >= 4 && std::memcmp(file.data() + span.begin, "RIFF", 4) == 0)
    return "it is a RIFF (WAV) file, not MPEG audio";
  for (std::size_t at = span.begin; at + 4 <= span.end; ++at) {
    if (audio[at] != 0xFF) continue;
    std::size_t p = at;
    int frames = 0;
    while (frames < kRun) {
      const std::size_t length = MpegFrameLength(audio, p);
      if (length == 0 || length > span.end - p) break;
      p += length;
      ++frames;
      if (p == span.end) break;
    }
    if (frames == kRun || (frames > 0 && p == span.end)) return {};
  }
  return "it holds no MPEG audio frame between its tags";
}

}  // namespace info
