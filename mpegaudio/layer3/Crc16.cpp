#include "mpegaudio/layer3/Crc16.h"

#include <array>

namespace mpegaudio::layer3 {
namespace {

constexpr std::uint16_t kPolynomial = 0x8005;

constexpr std::array<std::uint16_t, 256> MakeCrcTable() {
  std::array<std::uint16_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    std::uint16_t crc = static_cast<std::uint16_t>(i << 8);
    for (int bit = 0; bit < 8; ++bit) {
      crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ kPolynomial : crc << 1);
    }
    table[i] = crc;
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

void Crc16::AddByte(std::uint8_t byte) {
  crc_ = static_cast<std::uint16_t>((crc_ << 8) ^ kCrcTable[((crc_ >> 8) ^ byte) & 0xFF]);
}

void Crc16::AddBits(std::uint32_t value, int bits) {
  for (int i = bits - 1; i >= 0; --i) {
    const bool feedback = (((crc_ >> 15) ^ (value >> i)) & 1) != 0;
    crc_ = static_cast<std::uint16_t>(crc_ << 1);
    if (feedback) crc_ ^= kPolynomial;
  }
}

void Crc16::AddBytes(const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) AddByte(bytes[i]);
}

}  // namespace mpegaudio::layer3
