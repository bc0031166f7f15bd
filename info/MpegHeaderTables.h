// Frame header tables of MPEG audio: bitrates (ISO/IEC 11172-3 clause 2.4.2.3, and
// ISO/IEC 13818-3 for the lower sampling frequencies, which MPEG-2.5 shares) and sampling
// frequencies. Index 15 of the bitrates is forbidden and maps to 0 here.
#pragma once

#include <array>

namespace info::mpeg {

// [lsf][layer - 1][bitrate_index], kbit/s.
inline constexpr std::array<std::array<std::array<int, 16>, 3>, 2> kBitrateKbps = {{
    {{
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    }},
    {{
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    }},
}};

// [version: 0 MPEG-1, 1 MPEG-2, 2 MPEG-2.5][sampling_frequency index], Hz.
inline constexpr std::array<std::array<int, 3>, 3> kSamplingRateHz = {{
    {44100, 48000, 32000},
    {22050, 24000, 16000},
    {11025, 12000, 8000},
}};

}  // namespace info::mpeg
