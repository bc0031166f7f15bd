// Reading the Layer III side information (ISO/IEC 11172-3 2.4.1.7, ISO/IEC 13818-3 2.4.1.7)
// and checking the frame's CRC-16.
#pragma once

#include <cstdint>

#include "mpegaudio/layer3/Layer3Types.h"

namespace mpegaudio::layer3 {

inline constexpr int kMaxSideInfoBytes = 32;

// Parses `bytes` (ctx.sideInfoBytes of them) into `side`, applying the decoder's limits:
// big_values over 288, or block type 0 with window switching, make the granule silent.
void ParseSideInfo(const std::uint8_t* bytes, const FrameContext& ctx, SideInfo& side);

// The CRC over the low 16 header bits and the side information bytes.
std::uint16_t SideInfoCrc(std::uint32_t headerWord, const std::uint8_t* bytes, int count);

}  // namespace mpegaudio::layer3
