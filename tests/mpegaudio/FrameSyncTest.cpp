#include "mpegaudio/FrameSync.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/mpegaudio/StreamWriter.h"

namespace mpegaudio {
namespace {

using test::BitWriter;
using test::HeaderFields;
using test::HeaderWord;
using test::MemorySource;

// Appends `count` frames with the given header and a zero payload.
void PutFrames(BitWriter& w, const HeaderFields& fields, int count) {
  FrameHeader h;
  h.Parse(HeaderWord(fields));
  const int payloadBits = h.valid ? h.frameSizeBits - 32 : 100 * 8;
  for (int i = 0; i < count; ++i) {
    w.Put(HeaderWord(fields), 32);
    for (int b = 0; b < payloadBits; ++b) w.PutBit(0);
  }
}

// Runs steps until SscSyncEof, skipping each frame; returns the frames found.
int CountFrames(FrameSync& sync, Mp3Source* source, std::vector<SSC>* statuses = nullptr) {
  int frames = 0;
  for (int guard = 0; guard < 10000; ++guard) {
    const SSC s = sync.Step(source);
    if (statuses) statuses->push_back(s);
    if (s == SscSyncEof) return frames;
    if (s == SscOk) {
      ++frames;
      sync.SkipFrame();
    }
  }
  ADD_FAILURE() << "no end of stream";
  return frames;
}

TEST(FrameSyncTest, FindsFramesAtAnOddBitOffsetAfterJunk) {
  BitWriter w;
  w.Put(0x1234, 16);
  w.Put(0b101, 3);
  PutFrames(w, HeaderFields{}, 5);
  MemorySource source(w.Bytes());
  FrameSync sync;
  ASSERT_EQ(sync.Step(&source), SscOk);
  EXPECT_EQ(sync.SkippedBits(), 19u);
  EXPECT_EQ(sync.Header().bitrate, 128000);
  EXPECT_EQ(sync.FixedPattern(), HeaderWord(HeaderFields{}) & ~kHeaderVariableMask);
  sync.SkipFrame();
  EXPECT_EQ(CountFrames(sync, &source), 4);
}

TEST(FrameSyncTest, RejectsAFalseSyncInsideLeadingJunk) {
  BitWriter w;
  w.Put(HeaderWord(HeaderFields{}), 32);  // a lone header: the frame after it does not match
  for (int i = 0; i < 500; ++i) w.Put(0xA5, 8);
  PutFrames(w, HeaderFields{.bitrateIndex = 5, .samplingRateIndex = 1}, 3);
  FrameSync sync(w.Bytes().data(), w.Bytes().size());
  ASSERT_EQ(sync.Step(nullptr), SscOk);
  EXPECT_EQ(sync.SkippedBits(), 504u * 8);
  EXPECT_EQ(sync.Header().samplingRate, 48000);
}

TEST(FrameSyncTest, OtherLayersAndFreeFormatNeverSynchronise) {
  for (HeaderFields fields : {HeaderFields{.layer = 1}, HeaderFields{.layer = 2},
                          HeaderFields{.bitrateIndex = 0}}) {
    BitWriter w;
    for (int i = 0; i < 20; ++i) {
      w.Put(HeaderWord(fields), 32);
      for (int b = 0; b < 400; ++b) w.Put(0, 8);
    }
    MemorySource source(w.Bytes(), 1000);
    FrameSync sync(4096);
    std::vector<SSC> statuses;
    EXPECT_EQ(CountFrames(sync, &source, &statuses), 0);
    EXPECT_EQ(statuses.back(), SscSyncEof);
    EXPECT_EQ(sync.Step(&source), SscSyncEof);  // stays at the end
  }
}

TEST(FrameSyncTest, TruncatedLastFrameEndsTheStream) {
  BitWriter w;
  PutFrames(w, HeaderFields{}, 4);
  std::vector<std::uint8_t> bytes = w.Bytes();
  bytes.resize(bytes.size() - 100);
  MemorySource source(bytes, 333);
  FrameSync sync;
  std::vector<SSC> statuses;
  EXPECT_EQ(CountFrames(sync, &source, &statuses), 3);
  EXPECT_EQ(statuses.back(), SscSyncEof);
}

TEST(FrameSyncTest, NeedsDataWhileTheNextFrameIsIncomplete) {
  BitWriter w;
  PutFrames(w, HeaderFields{}, 30);
  MemorySource source(w.Bytes(), 300);  // short reads: each refill is cut after one read
  FrameSync sync;
  std::vector<SSC> statuses;
  EXPECT_EQ(CountFrames(sync, &source, &statuses), 30);
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), SscSyncNeedData), statuses.end());
}

TEST(FrameSyncTest, TenFramesAfterASyncConfirmTheFollowingHeader) {
  // Frame 6's successor has another sampling rate: caught by the look-ahead while the
  // check counter runs. The same break after frame 14 is only seen when reached.
  for (int breakAfter : {6, 14}) {
    BitWriter w;
    PutFrames(w, HeaderFields{}, breakAfter);
    PutFrames(w, HeaderFields{.samplingRateIndex = 1}, 1);
    PutFrames(w, HeaderFields{}, 3);
    FrameSync sync(w.Bytes().data(), w.Bytes().size());
    int frames = 0;
    SSC s = SscOk;
    std::vector<int> counters;
    while ((s = sync.Step(nullptr)) == SscOk) {
      counters.push_back(sync.CheckCounter());
      ++frames;
      sync.SkipFrame();
    }
    EXPECT_EQ(s, SscSyncLost) << breakAfter;
    EXPECT_EQ(frames, breakAfter - (breakAfter < 10 ? 1 : 0)) << breakAfter;
    EXPECT_EQ(counters.front(), 10);
    if (breakAfter > 10) {
      EXPECT_EQ(counters[10], 0);
    }
    // The search then finds the last three frames again.
    EXPECT_EQ(CountFrames(sync, nullptr), 3) << breakAfter;
  }
}

TEST(FrameSyncTest, ResetStartsSearchingAgain) {
  BitWriter w;
  PutFrames(w, HeaderFields{}, 3);
  MemorySource source(w.Bytes());
  FrameSync sync;
  EXPECT_EQ(CountFrames(sync, &source), 3);
  source.Rewind();
  sync.Reset();
  EXPECT_EQ(sync.Status(), SscSyncSearched);
  EXPECT_EQ(CountFrames(sync, &source), 3);
}

}  // namespace
}  // namespace mpegaudio
