// Test helper: the format and PCM bytes of a RIFF/WAVE fixture, read independently of the
// code under test.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testdata {

struct WavData {
  std::uint16_t channels = 0;
  std::uint32_t rate = 0;
  std::uint16_t bits = 0;
  std::vector<std::uint8_t> pcm;

  std::size_t FrameBytes() const { return std::size_t{channels} * (bits / 8u); }
  std::size_t Frames() const { return pcm.size() / FrameBytes(); }
  std::uint32_t DurationMs() const {
    return static_cast<std::uint32_t>(std::uint64_t{Frames()} * 1000 / rate);
  }
};

inline std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= std::uint32_t{b.at(at + i)} << (8 * i);
  return v;
}

// Empty `pcm` and zero channels when the file is not a WAV file.
inline WavData ReadWav(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), {});
  WavData w;
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return w;
  std::size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::uint32_t size = Le(b, at + 4, 4);
    if (std::memcmp(&b[at], "fmt ", 4) == 0) {
      w.channels = static_cast<std::uint16_t>(Le(b, at + 10, 2));
      w.rate = Le(b, at + 12, 4);
      w.bits = static_cast<std::uint16_t>(Le(b, at + 22, 2));
    } else if (std::memcmp(&b[at], "data", 4) == 0) {
      const std::size_t end = std::min<std::size_t>(b.size(), at + 8 + size);
      w.pcm.assign(b.begin() + static_cast<long>(at + 8), b.begin() + static_cast<long>(end));
    }
    at += 8 + size + (size & 1);
  }
  return w;
}

inline std::string Fixture(const std::string& name) {
  return std::string(TEST_DATA_DIR) + "/audio/" + name;
}

}  // namespace testdata
