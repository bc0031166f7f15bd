// The CRC-16 of ISO/IEC 11172-3 2.4.3.1 (generator polynomial 0x8005, register preset to
// 0xFFFF), run over the last 16 bits of the header and the side information.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mpegaudio::layer3 {

class Crc16 {
 public:
  void AddByte(std::uint8_t byte);
  void AddBits(std::uint32_t value, int bits);  // one bit at a time, first bit first
  void AddBytes(const std::uint8_t* bytes, std::size_t count);
  std::uint16_t Value() const { return crc_; }

 private:
  std::uint16_t crc_ = 0xFFFF;
};

}  // namespace mpegaudio::layer3
