#include "mpegaudio/InputBitBuffer.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/mpegaudio/StreamWriter.h"

namespace mpegaudio {
namespace {

TEST(InputBitBufferTest, RingSizeIsAPowerOfTwoUpTo64K) {
  EXPECT_EQ(InputBitBuffer().CapacityBytes(), 8192u);
  EXPECT_EQ(InputBitBuffer(5000).CapacityBytes(), 8192u);
  EXPECT_EQ(InputBitBuffer(100000).CapacityBytes(), 65536u);
}

TEST(InputBitBufferTest, ReadsAcrossTheWrapAndRewindsToTheMark) {
  InputBitBuffer ring(16);
  std::vector<std::uint8_t> bytes(12);
  for (int i = 0; i < 12; ++i) bytes[i] = static_cast<std::uint8_t>(i * 17);
  EXPECT_EQ(ring.Fill(bytes.data(), bytes.size()), 12u);
  ring.SkipBits(80);  // 10 bytes
  EXPECT_EQ(ring.FreeBytes(), 14u);
  std::vector<std::uint8_t> more = {0xAB, 0xCD, 0xEF, 0x12, 0x34, 0x56};
  EXPECT_EQ(ring.Fill(more.data(), more.size()), 6u);  // wraps
  EXPECT_EQ(ring.BufferedBytes(), 8u);
  ring.SetMark();
  ring.SkipBits(4);
  EXPECT_EQ(ring.ReadBits(32), 0xABBABCDEu);  // AA BB AB CD EF from bit 4
  EXPECT_EQ(ring.BitsSinceMark(), 36u);
  ring.RewindToMark();
  EXPECT_EQ(ring.ReadBits(8), 0xAAu);
  EXPECT_EQ(ring.ValidBits(), 56u);
}

TEST(InputBitBufferTest, NeverReadsBeyondTheValidBits) {
  InputBitBuffer ring(8);
  std::uint8_t b = 0xFF;
  ring.Fill(&b, 1);
  EXPECT_EQ(ring.ReadBits(12), 0xFF0u);
  EXPECT_EQ(ring.ValidBits(), 0u);
  EXPECT_EQ(ring.ReadBits(32), 0u);
}

TEST(InputBitBufferTest, ViewIsFullAndAtEndOfInput) {
  const std::uint8_t data[5] = {1, 2, 3, 4, 5};
  InputBitBuffer view(data, sizeof data);
  EXPECT_TRUE(view.EndOfInput());
  EXPECT_EQ(view.FreeBytes(), 0u);
  EXPECT_EQ(view.Fill(data, 5), 0u);
  view.SkipBits(8);
  EXPECT_EQ(view.ReadBits(32), 0x02030405u);
  InputBitBuffer empty(nullptr, 10);
  EXPECT_EQ(empty.ReadBits(8), 0u);
}

TEST(InputBitBufferTest, RefillStopsOnAShortReadAndNotesTheEnd) {
  InputBitBuffer ring(16);
  test::MemorySource source(std::vector<std::uint8_t>(20, 0x55), 10);
  ring.Refill(source);
  EXPECT_EQ(ring.BufferedBytes(), 10u);  // asked for 16, got 10: no second read
  EXPECT_FALSE(ring.EndOfInput());
  ring.SkipBits(8 * 10);
  ring.Refill(source);  // 6 up to the end of the ring, then 4 of 10 after wrapping
  EXPECT_EQ(ring.BufferedBytes(), 10u);
  EXPECT_TRUE(ring.EndOfInput());
}

}  // namespace
}  // namespace mpegaudio
