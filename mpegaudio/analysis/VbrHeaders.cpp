#include "mpegaudio/analysis/VbrHeaders.h"

#include <cstring>
#include <limits>
#include <new>

namespace mpegaudio {
namespace {

std::uint32_t BigEndian(const std::uint8_t* p, std::size_t bytes) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < bytes; ++i) v = v << 8 | p[i];
  return v;
}

std::uint16_t BigEndian16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(BigEndian(p, 2));
}

constexpr std::int32_t kLowestXingRate = 16000;

}  // namespace

bool ReadVbriFields(const std::uint8_t* frame, std::size_t available, VbriHeader& header) {
  header = VbriHeader{};
  if (frame == nullptr || available < VbriHeader::kFixedBytes) return false;
  const std::uint8_t* p = frame + VbriHeader::kOffset;
  if (std::memcmp(p, "VBRI", 4) != 0 || BigEndian16(p + 4) != 1) return false;
  header.version = 1;
  header.delay = BigEndian16(p + 6);
  header.quality = BigEndian16(p + 8);
  header.bytes = BigEndian(p + 10, 4);
  header.frames = BigEndian(p + 14, 4);
  header.entryCount = BigEndian16(p + 18);
  header.tableScale = BigEndian16(p + 20);
  header.entrySize = BigEndian16(p + 22);
  header.framesPerEntry = BigEndian16(p + 24);
  return true;
}

bool ReadVbriHeader(const std::uint8_t* frame, std::size_t available, VbriHeader& header) {
  if (!ReadVbriFields(frame, available, header)) return false;
  // Entries wider than 32 bits cannot be offsets of a file of 32-bit size.
  const std::size_t entrySize = header.entrySize;
  const std::size_t tableBytes = header.entryCount * entrySize;
  if (entrySize > 4 || available < VbriHeader::kFixedBytes + tableBytes) {
    header = VbriHeader{};
    return false;
  }
  try {
    header.offsets.resize(header.entryCount + 1u);
  } catch (const std::bad_alloc&) {
    header = VbriHeader{};  // a table that cannot be held is no header
    return false;
  }
  const std::uint8_t* entry = frame + VbriHeader::kFixedBytes;
  std::uint64_t sum = 0;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
  for (std::size_t i = 1; i <= header.entryCount; ++i, entry += entrySize) {
    sum += static_cast<std::uint64_t>(BigEndian(entry, entrySize)) * header.tableScale;
    if (sum > kMax) sum = kMax;
    header.offsets[i] = static_cast<std::uint32_t>(sum);
  }
  return true;
}

std::size_t XingOffset(const FrameHeader& header) {
  const bool mono = header.mode == 3;
  if (header.version == 0) return mono ? 21 : 36;
  return mono ? 13 : 21;
}

bool ReadXingHeader(const std::uint8_t* frame, std::size_t available, const FrameHeader& header,
                    XingHeader& xing) {
  xing = XingHeader{};
  if (frame == nullptr || header.samplingRate < kLowestXingRate) return false;
  const std::size_t offset = XingOffset(header);
  if (available < offset + XingHeader::kSpan) return false;
  const std::uint8_t* p = frame + offset;
  if (std::memcmp(p, "Xing", 4) != 0) return false;
  xing.flags = BigEndian(p + 4, 4);
  p += 8;
  if (xing.flags & XingHeader::kFrames) {
    xing.frames = BigEndian(p, 4);
    p += 4;
  }
  if (xing.flags & XingHeader::kBytes) {
    xing.bytes = BigEndian(p, 4);
    p += 4;
  }
  if (xing.flags & XingHeader::kToc) {
    std::memcpy(xing.toc.data(), p, xing.toc.size());
    p += xing.toc.size();
  }
  if (xing.flags & XingHeader::kQuality) xing.quality = BigEndian(p, 4);
  return true;
}

}  // namespace mpegaudio
