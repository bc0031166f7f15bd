// Huffman decoding of one granule's spectral values (ISO/IEC 11172-3 2.4.2.7, Table 3-B.7):
// big-value pairs in up to three regions, then count1 quadruples up to part2_3_length,
// each line requantised as it is decoded.
#pragma once

#include <cstdint>

#include "mpegaudio/layer3/BandLayout.h"
#include "mpegaudio/layer3/BitReader.h"
#include "mpegaudio/layer3/Layer3Types.h"
#include "mpegaudio/layer3/Requantizer.h"

namespace mpegaudio::layer3 {

// Decodes the lines of one granule reading up to `endBit` and requantises them with the
// band gains into `out` (576 lines, zero above the last non-zero one); leaves the reader
// exactly at `endBit`. Returns the count of lines up to and including the last one whose
// quantised value is not zero.
int DecodeSpectrum(BitReader& bits, std::uint32_t endBit, const GranuleInfo& g,
                   const BandLayout& bands, bool mpeg1, const BandGains& gains, float out[kLines]);

// First lines of regions 1 and 2 (each at most 2 * big_values).
void RegionBoundaries(const GranuleInfo& g, const BandLayout& bands, bool mpeg1, int& region1,
                      int& region2);

}  // namespace mpegaudio::layer3
