#include "mpegaudio/analysis/AudioBounds.h"

#include <cstring>

namespace mpegaudio {
namespace {

constexpr std::uint8_t kFooterFlag = 0x10;
constexpr int kMaxLeadingTags = 16;

}  // namespace

std::uint32_t Id3v2TagSize(const std::uint8_t* bytes, std::size_t length) {
  if (bytes == nullptr || length < kId3v2HeaderBytes) return 0;
  if (std::memcmp(bytes, "ID3", 3) != 0 || bytes[3] == 0xFF || bytes[4] == 0xFF) return 0;
  std::uint32_t body = 0;
  for (std::size_t i = 6; i < kId3v2HeaderBytes; ++i) {
    if (bytes[i] & 0x80) return 0;  // sizes are synchsafe: 7 bits per byte
    body = body << 7 | bytes[i];
  }
  const std::uint32_t footer = (bytes[5] & kFooterFlag) != 0 ? kId3v2HeaderBytes : 0;
  return static_cast<std::uint32_t>(kId3v2HeaderBytes) + body + footer;
}

bool IsId3v1Tag(const std::uint8_t* bytes, std::size_t length) {
  return bytes != nullptr && length >= kId3v1Bytes && std::memcmp(bytes, "TAG", 3) == 0;
}

AudioBounds FindAudioBounds(ByteReader& file, std::uint32_t fileSize) {
  AudioBounds bounds;
  bounds.end = fileSize;
  std::uint8_t tail[kId3v1Bytes];
  if (fileSize >= kId3v1Bytes &&
      file.ReadAt(fileSize - kId3v1Bytes, tail, sizeof tail) == sizeof tail &&
      IsId3v1Tag(tail, sizeof tail)) {
    bounds.end = fileSize - static_cast<std::uint32_t>(kId3v1Bytes);
  }
  for (int n = 0; n < kMaxLeadingTags; ++n) {
    std::uint8_t header[kId3v2HeaderBytes];
    if (file.ReadAt(bounds.start, header, sizeof header) != sizeof header) break;
    const std::uint32_t size = Id3v2TagSize(header, sizeof header);
    if (size == 0 || size > bounds.end - bounds.start) break;
    bounds.start += size;
  }
  return bounds;
}

}  // namespace mpegaudio
