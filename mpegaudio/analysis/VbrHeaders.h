// The VBR headers an encoder may place in the first frame of a variable-bitrate stream
// instead of audio: VBRI (byte-offset table) and Xing (frame and byte counts, table of
// contents). Readers take the bytes from the frame's first byte and never read past
// `available`.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "mpegaudio/FrameHeader.h"

namespace mpegaudio {

struct VbriHeader {
  static constexpr std::size_t kOffset = 36;      // "VBRI" from the frame start
  static constexpr std::size_t kFixedBytes = 62;  // up to the table

  std::uint16_t version = 0;
  std::uint16_t delay = 0;
  std::uint16_t quality = 0;
  std::uint32_t bytes = 0;
  std::uint32_t frames = 0;
  std::uint16_t entryCount = 0;
  std::uint16_t tableScale = 0;
  std::uint16_t entrySize = 0;  // bytes per table entry
  std::uint16_t framesPerEntry = 0;
  // entryCount + 1 byte offsets: 0, then the running sum of entry x scale.
  std::vector<std::uint32_t> offsets;
};

// Reads the fixed part (version 1 required); leaves `offsets` empty.
bool ReadVbriFields(const std::uint8_t* frame, std::size_t available, VbriHeader& header);
// Reads the fixed part and the table; false when either is missing or does not fit.
bool ReadVbriHeader(const std::uint8_t* frame, std::size_t available, VbriHeader& header);

struct XingHeader {
  static constexpr std::uint32_t kFrames = 1;
  static constexpr std::uint32_t kBytes = 2;
  static constexpr std::uint32_t kToc = 4;
  static constexpr std::uint32_t kQuality = 8;
  static constexpr std::size_t kSpan = 120;  // tag, flags and every optional field

  std::uint32_t flags = 0;
  std::uint32_t frames = 0;
  std::uint32_t bytes = 0;
  std::array<std::uint8_t, 100> toc{};
  std::uint32_t quality = 0;
};

// Where the Xing tag sits after the header: it follows the side information.
std::size_t XingOffset(const FrameHeader& header);
// False below 16000 Hz, when offset + 120 bytes are not available or the tag is absent.
bool ReadXingHeader(const std::uint8_t* frame, std::size_t available, const FrameHeader& header,
                    XingHeader& xing);

}  // namespace mpegaudio
