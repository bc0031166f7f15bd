// Test helpers: MPEG audio frames built from header fields, and reading of test files.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mp3test {

struct FrameSpec {
  int version = 0;  // 0 MPEG-1, 1 MPEG-2, 2 MPEG-2.5
  int layer = 3;
  int bitrateIndex = 9;       // 128 kbit/s for MPEG-1
  int rateIndex = 0;          // 44100 Hz for MPEG-1
  int padding = 0;
  int mode = 0;               // 3 = single channel
  bool crc = false;
};

inline std::uint32_t HeaderWord(const FrameSpec& f) {
  const std::uint32_t versionBits = f.version == 0 ? 3u : (f.version == 1 ? 2u : 0u);
  return 0xFFE00000u | versionBits << 19 | static_cast<std::uint32_t>(4 - f.layer) << 17 |
         (f.crc ? 0u : 1u) << 16 | static_cast<std::uint32_t>(f.bitrateIndex) << 12 |
         static_cast<std::uint32_t>(f.rateIndex) << 10 | static_cast<std::uint32_t>(f.padding) << 9 |
         static_cast<std::uint32_t>(f.mode) << 6;
}

// Layer III figures from ISO/IEC 11172-3 and 13818-3.
inline int BitrateKbps(int version, int index) {
  static const int kMpeg1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  static const int kMpeg2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  return version == 0 ? kMpeg1[index] : kMpeg2[index];
}
inline int SamplingRate(int version, int index) {
  static const int kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
  return kRates[version][index];
}
// Layer II and III frames: 144 x bitrate / rate bytes for MPEG-1, 72 x for MPEG-2 and 2.5.
inline int FrameBytes(const FrameSpec& f) {
  const int factor = f.version == 0 || f.layer == 2 ? 144 : 72;
  if (f.bitrateIndex == 0) return 417 + f.padding;  // free format: any size
  return factor * BitrateKbps(f.version, f.bitrateIndex) * 1000 / SamplingRate(f.version, f.rateIndex) +
         f.padding;
}

inline void PutBe(std::uint8_t* p, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * (bytes - 1 - i)));
}

// Appends one frame: the header, then zero bytes. Returns the frame's offset.
inline std::size_t AppendFrame(std::vector<std::uint8_t>& out, const FrameSpec& f) {
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(FrameBytes(f)), 0);
  PutBe(out.data() + at, HeaderWord(f), 4);
  return at;
}

inline std::vector<std::uint8_t> Frames(const FrameSpec& f, int count) {
  std::vector<std::uint8_t> out;
  for (int i = 0; i < count; ++i) AppendFrame(out, f);
  return out;
}

inline std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::string Fixture(const std::string& name) {
  return std::string(TEST_DATA_DIR) + "/mp3analysis/" + name;
}

}  // namespace mp3test
