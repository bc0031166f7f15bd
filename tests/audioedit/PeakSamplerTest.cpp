#include <gtest/gtest.h>

#include <vector>

#include "audioedit/PeakSampler.h"

namespace audioedit {
namespace {

struct Batches {
  std::vector<std::size_t> sizes;
  std::vector<std::uint8_t> bytes;
  PeakSampler::BatchSink Sink() {
    return [this](const std::uint8_t* d, std::size_t n) {
      sizes.push_back(n);
      bytes.insert(bytes.end(), d, d + n);
      return true;
    };
  }
};

TEST(PeakSampler, WritesFullBatchesThenTheRest) {
  Batches out;
  PeakSampler sampler(2, 2, 1, 256000, out.Sink());
  std::vector<std::uint8_t> pcm(4 * 100000, 1);
  ASSERT_TRUE(sampler.Feed(pcm.data(), pcm.size()));
  EXPECT_EQ(out.sizes, std::vector<std::size_t>{256000});
  ASSERT_TRUE(sampler.Finish());
  EXPECT_EQ(out.sizes, (std::vector<std::size_t>{256000, 144000}));
  EXPECT_EQ(sampler.Records(), 100000u);
}

TEST(PeakSampler, WideSamplesAreCopiedWhole) {
  Batches out;
  PeakSampler sampler(2, 3, 2, 1000, out.Sink());
  // Frame 0 is skipped; frame 1 holds -2 (0xFFFFFE) and 0x123456.
  const std::uint8_t pcm[] = {9, 9, 9, 9, 9, 9, 0xFE, 0xFF, 0xFF, 0x56, 0x34, 0x12};
  ASSERT_TRUE(sampler.Feed(pcm, 5));
  ASSERT_TRUE(sampler.Feed(pcm + 5, sizeof pcm - 5));
  ASSERT_TRUE(sampler.Finish());
  EXPECT_EQ(out.bytes, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0x56, 0x34, 0x12}));
}

TEST(PeakSampler, RefusedBatchStopsTheFeed) {
  PeakSampler sampler(1, 1, 1, 10, [](const std::uint8_t*, std::size_t) { return false; });
  std::vector<std::uint8_t> pcm(100);
  EXPECT_FALSE(sampler.Feed(pcm.data(), pcm.size()));
}

}  // namespace
}  // namespace audioedit
