// Huffman decoding of one granule's spectral values (ISO/IEC 11172-3 2.4.2.7, Table 3-B.7):
// big-value pairs in up to three regions, then count1 quadruples up to part2_3_length.
#pragma once

#include <cstdint>

#include "mpegaudio/layer3/BandLayout.h"
#include "mpegaudio/layer3/BitReader.h"
#include "mpegaudio/layer3/Layer3Types.h"

namespace mpegaudio::layer3 {

// Decodes into `values` (576 quantised lines, zeroed above the last non-zero one) reading
// up to `endBit`, and leaves the reader exactly at `endBit`. Returns the count of lines up
// to and including the last non-zero one.
int DecodeSpectrum(BitReader& bits, std::uint32_t endBit, const GranuleInfo& g,
                   const BandLayout& bands, bool mpeg1, int values[kLines]);

// First lines of regions 1 and 2 (each at most 2 * big_values).
void RegionBoundaries(const GranuleInfo& g, const BandLayout& bands, bool mpeg1, int& region1,
                      int& region2);

}  // namespace mpegaudio::layer3
