// The 28-byte peak file header: the AUDIO_INFO record, little-endian, padding zero.
#pragma once

#include <array>
#include <cstdint>

#include "audioedit/AudioInfo.h"

namespace audioedit {

inline constexpr std::uint32_t kPeakHeaderSize = 28;
using PeakHeaderBytes = std::array<std::uint8_t, kPeakHeaderSize>;

PeakHeaderBytes EncodePeakHeader(const AUDIO_INFO& info);
AUDIO_INFO DecodePeakHeader(const PeakHeaderBytes& bytes);

// True when the format and length fields (everything but total_peaks and sample_interval)
// are equal.
bool SameAudioFormat(const AUDIO_INFO& a, const AUDIO_INFO& b);

}  // namespace audioedit
