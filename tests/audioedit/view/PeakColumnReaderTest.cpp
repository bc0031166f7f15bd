// Reduction of peak records to per-column minima and maxima.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "audioedit/view/PeakColumnReader.h"
#include "tests/audioedit/view/ViewTestSupport.h"

namespace audioedit::view {
namespace {

std::vector<std::uint8_t> Bytes16(const std::vector<std::int32_t>& values) {
  std::vector<std::uint8_t> out;
  for (std::int32_t v : values) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  }
  return out;
}

TEST(PeakColumnReaderTest, StereoSixteenBitMinimaAndMaxima) {
  const AUDIO_INFO info = testing::MakeInfo(2, 16, 44100, 147, 6);
  PeakColumnReader reader(info, 3, 10);
  const auto bytes = Bytes16({100, -5, -200, 7, 50, 0,  // column 0
                              -32768, 32767, 32767, -32768, 1, 1});
  EXPECT_TRUE(reader.Feed(bytes.data(), bytes.size()));
  reader.Finish();
  ASSERT_EQ(reader.Columns().size(), 2u);
  EXPECT_EQ(reader.Columns()[0].min, (std::array<std::int32_t, 2>{-200, -5}));
  EXPECT_EQ(reader.Columns()[0].max, (std::array<std::int32_t, 2>{100, 7}));
  EXPECT_EQ(reader.Columns()[1].min, (std::array<std::int32_t, 2>{-32768, -32768}));
  EXPECT_EQ(reader.Columns()[1].max, (std::array<std::int32_t, 2>{32767, 32767}));
}

TEST(PeakColumnReaderTest, EightBitValuesAreUnsigned) {
  const AUDIO_INFO info = testing::MakeInfo(1, 8, 8000, 10, 4);
  PeakColumnReader reader(info, 2, 10);
  const std::vector<std::uint8_t> bytes{0, 255, 128, 129};
  reader.Feed(bytes.data(), bytes.size());
  reader.Finish();
  ASSERT_EQ(reader.Columns().size(), 2u);
  EXPECT_EQ(reader.Columns()[0].min[0], 0);
  EXPECT_EQ(reader.Columns()[0].max[0], 255);
  EXPECT_EQ(reader.Columns()[1].min[0], 128);
}

TEST(PeakColumnReaderTest, PartialLastColumnKeepsTheRecordsItHas) {
  const AUDIO_INFO info = testing::MakeInfo(1, 16, 44100, 147, 5);
  PeakColumnReader reader(info, 2, 10);
  const auto bytes = Bytes16({1, 2, 3, 4, -9});
  reader.Feed(bytes.data(), bytes.size());
  reader.Finish();
  ASSERT_EQ(reader.Columns().size(), 3u);
  EXPECT_EQ(reader.Columns()[2].min[0], -9);
  EXPECT_EQ(reader.Columns()[2].max[0], -9);
}

TEST(PeakColumnReaderTest, StopsAfterTheLastWantedColumn) {
  const AUDIO_INFO info = testing::MakeInfo(1, 16, 44100, 147, 8);
  PeakColumnReader reader(info, 2, 2);
  const auto bytes = Bytes16({1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_FALSE(reader.Feed(bytes.data(), bytes.size()));
  reader.Finish();
  EXPECT_EQ(reader.Columns().size(), 2u);
}

TEST(PeakColumnReaderTest, RecordsSplitAcrossChunksAreJoined) {
  // Three channels of 16 bits: 6-byte records, of which the first two channels are read.
  const AUDIO_INFO info = testing::MakeInfo(3, 16, 44100, 147, 4);
  const auto bytes = Bytes16({10, -10, 999, 20, -20, 999, 30, -30, 999, 40, -40, 999});
  PeakColumnReader whole(info, 2, 10);
  whole.Feed(bytes.data(), bytes.size());
  whole.Finish();
  PeakColumnReader pieces(info, 2, 10);
  for (std::size_t i = 0; i < bytes.size(); i += 5) {
    pieces.Feed(bytes.data() + i, std::min<std::size_t>(5, bytes.size() - i));
  }
  pieces.Finish();
  ASSERT_EQ(whole.Columns().size(), 2u);
  ASSERT_EQ(pieces.Columns().size(), 2u);
  for (std::size_t c = 0; c < 2; ++c) {
    EXPECT_EQ(pieces.Columns()[c].min, whole.Columns()[c].min);
    EXPECT_EQ(pieces.Columns()[c].max, whole.Columns()[c].max);
  }
  EXPECT_EQ(whole.Columns()[1].min, (std::array<std::int32_t, 2>{30, -40}));
  EXPECT_EQ(whole.ChannelsRead(), 2);
}

TEST(PeakColumnReaderTest, AnyChunkingGivesTheSameColumns) {
  const AUDIO_INFO info = testing::MakeInfo(2, 16, 44100, 147, 1000);
  std::vector<std::int32_t> values;
  unsigned seed = 7;
  for (int i = 0; i < 2000; ++i) {
    seed = seed * 1103515245u + 12345u;
    values.push_back(static_cast<std::int32_t>((seed >> 8) % 65536) - 32768);
  }
  const auto bytes = Bytes16(values);
  PeakColumnReader whole(info, 7, 1000);
  whole.Feed(bytes.data(), bytes.size());
  whole.Finish();
  ASSERT_EQ(whole.Columns().size(), 143u);  // 142 full columns and one of 6 records
  for (std::size_t chunk : {1u, 3u, 13u, 28u, 511u}) {
    PeakColumnReader pieces(info, 7, 1000);
    for (std::size_t i = 0; i < bytes.size(); i += chunk) {
      pieces.Feed(bytes.data() + i, std::min(chunk, bytes.size() - i));
    }
    pieces.Finish();
    ASSERT_EQ(pieces.Columns().size(), whole.Columns().size()) << chunk;
    for (std::size_t c = 0; c < whole.Columns().size(); ++c) {
      ASSERT_EQ(pieces.Columns()[c].min, whole.Columns()[c].min) << chunk << " " << c;
      ASSERT_EQ(pieces.Columns()[c].max, whole.Columns()[c].max) << chunk << " " << c;
    }
  }
  // The first column against a direct computation.
  std::int32_t lo = 32767, hi = -32768;
  for (int r = 0; r < 7; ++r) {
    lo = std::min(lo, values[2 * r]);
    hi = std::max(hi, values[2 * r]);
  }
  EXPECT_EQ(whole.Columns()[0].min[0], lo);
  EXPECT_EQ(whole.Columns()[0].max[0], hi);
}

// 24- and 32-bit records paint their two most significant bytes, rounding down.
TEST(PeakColumnReaderTest, WideSamplesReadTheirTopSixteenBits) {
  const AUDIO_INFO info24 = testing::MakeInfo(2, 24, 48000, 147, 2);
  PeakColumnReader reader24(info24, 2, 10);
  // (-2, 0x123456), then (0x7FFFFF, -0x800000).
  const std::vector<std::uint8_t> bytes24{0xFE, 0xFF, 0xFF, 0x56, 0x34, 0x12,
                                          0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x80};
  reader24.Feed(bytes24.data(), 5);
  reader24.Feed(bytes24.data() + 5, bytes24.size() - 5);
  reader24.Finish();
  ASSERT_EQ(reader24.Columns().size(), 1u);
  EXPECT_EQ(reader24.Columns()[0].min, (std::array<std::int32_t, 2>{-1, -32768}));
  EXPECT_EQ(reader24.Columns()[0].max, (std::array<std::int32_t, 2>{32767, 0x1234}));

  const AUDIO_INFO info32 = testing::MakeInfo(1, 32, 48000, 147, 1);
  PeakColumnReader reader32(info32, 1, 10);
  const std::vector<std::uint8_t> bytes32{0x00, 0x00, 0x00, 0x80};
  reader32.Feed(bytes32.data(), bytes32.size());
  ASSERT_EQ(reader32.Columns().size(), 1u);
  EXPECT_EQ(reader32.Columns()[0].min[0], -32768);
}

TEST(PeakColumnReaderTest, UnpaintableLayoutsReadNothing) {
  AUDIO_INFO info = testing::MakeInfo(2, 12, 44100, 147, 4);
  EXPECT_FALSE(PeakColumnReader(info, 1, 10).CanRead());
  info = testing::MakeInfo(2, 24, 44100, 147, 4);
  info.BPS = 4;  // too short for two 24-bit values
  EXPECT_FALSE(PeakColumnReader(info, 1, 10).CanRead());
  info = testing::MakeInfo(2, 16, 44100, 147, 4);
  info.BPS = 2;  // too short for two 16-bit values
  EXPECT_FALSE(PeakColumnReader(info, 1, 10).CanRead());
  info.BPS = 0;
  EXPECT_FALSE(PeakColumnReader(info, 1, 10).CanRead());
}

}  // namespace
}  // namespace audioedit::view
