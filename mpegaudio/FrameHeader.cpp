#include "mpegaudio/FrameHeader.h"

#include "mpegaudio/StandardTables.h"

namespace mpegaudio {

std::int32_t SamplesPerFrame(std::int32_t layer, std::int32_t version) {
  if (layer == 1) return 384;
  if (layer == 3 && version != 0) return 576;
  return 1152;
}

std::int32_t FrameHeader::SamplesPerFrame() const { return mpegaudio::SamplesPerFrame(layer, version); }

bool FrameHeader::Parse(std::uint32_t word) {
  *this = FrameHeader{};
  sync = static_cast<std::int32_t>(word >> 21);
  mpeg25Marker = (word >> 20) & 1;
  id = (word >> 19) & 1;
  layer = 4 - static_cast<std::int32_t>((word >> 17) & 3);
  protection = ((word >> 16) & 1) == 0 ? 1 : 0;
  bitrateIndex = (word >> 12) & 15;
  samplingRateIndex = (word >> 10) & 3;
  padding = (word >> 9) & 1;
  privateBit = (word >> 8) & 1;
  mode = (word >> 6) & 3;
  modeExtension = (word >> 4) & 3;
  copyright = (word >> 3) & 1;
  original = (word >> 2) & 1;
  emphasis = word & 3;

  if (sync != 0x7FF || layer != 3 || bitrateIndex == 0 || bitrateIndex == 15 ||
      samplingRateIndex == 3 || (mpeg25Marker == 0 && id == 1)) {
    return false;
  }
  version = id == 1 ? 0 : (mpeg25Marker == 1 ? 1 : 2);
  channels = mode == 3 ? 1 : 2;
  samplingRate = tables::kSamplingRateFlat[version * 3 + samplingRateIndex];
  const int table = (version == 0 ? 0 : 3) + (layer - 1);
  bitrate = tables::kBitrateKbpsFlat[table * 15 + bitrateIndex] * 1000;
  const std::int32_t slotBits = layer == 1 ? 32 : 8;
  const std::int32_t samples = SamplesPerFrame();
  frameSizeBits = slotBits * ((bitrate / slotBits) * samples / samplingRate + padding);
  frameDurationMs = static_cast<float>(samples) * 1000.0f / static_cast<float>(samplingRate);
  valid = 1;
  return true;
}

}  // namespace mpegaudio
