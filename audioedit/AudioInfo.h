// AUDIO_INFO: format, length and peak figures of the loaded audio. The same 28 bytes,
// little-endian and in this layout, are the header of a peak file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/Types.h"

namespace audioedit {

struct AUDIO_INFO {
  std::uint16_t channels;         // channels of the peak records
  std::uint16_t bits;             // bits per sample of the peak records (8 or 16)
  std::uint32_t freq;             // sample frames per second
  std::uint16_t blockalign;       // block alignment reported by the audio reader
  std::uint32_t duration;         // length in milliseconds
  std::uint16_t BPS;              // bytes per peak record: (bits / 8) * channels
  std::uint32_t total_peaks;      // number of records in the peak file
  std::uint32_t sample_interval;  // sample frames per peak record
};

static_assert(sizeof(AUDIO_INFO) == 28);
static_assert(offsetof(AUDIO_INFO, channels) == 0);
static_assert(offsetof(AUDIO_INFO, bits) == 2);
static_assert(offsetof(AUDIO_INFO, freq) == 4);
static_assert(offsetof(AUDIO_INFO, blockalign) == 8);
static_assert(offsetof(AUDIO_INFO, duration) == 12);
static_assert(offsetof(AUDIO_INFO, BPS) == 16);
static_assert(offsetof(AUDIO_INFO, total_peaks) == 20);
static_assert(offsetof(AUDIO_INFO, sample_interval) == 24);

// Record identity of AUDIO_INFO in the type library.
inline constexpr com::GUID GUID_AUDIO_INFO =
    com::MakeGuid("{BB9F62B2-D329-4C98-B182-98BF63740C65}");

}  // namespace audioedit
