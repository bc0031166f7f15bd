// The stream analysis against files made by lame at all nine sampling rates: CBR, VBR with
// a Xing/LAME header, VBR without one (-t) and ABR. The expected figures come from the
// files' bytes, walked here frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "mpegaudio/analysis/Mp3StreamInfoImpl.h"
#include "tests/audioedit/mp3/StreamBuilder.h"

namespace mpegaudio {
namespace {

struct Walked {
  int version = 0;
  int mode = 0;
  int rate = 0;
  std::int64_t frames = 0;
  std::int64_t bitrateTotal = 0;
};

// Walks the frames that lie whole inside the first `limit` bytes.
Walked WalkFrames(const std::vector<std::uint8_t>& bytes, std::size_t limit) {
  Walked w;
  std::size_t pos = 0;
  const std::size_t end = std::min(limit, bytes.size());
  while (pos + 4 <= end && bytes[pos] == 0xFF && (bytes[pos + 1] & 0xE0) == 0xE0) {
    const int versionBits = (bytes[pos + 1] >> 3) & 3;
    const int version = versionBits == 3 ? 0 : (versionBits == 2 ? 1 : 2);
    const int kbps = mp3test::BitrateKbps(version, bytes[pos + 2] >> 4);
    const int rate = mp3test::SamplingRate(version, (bytes[pos + 2] >> 2) & 3);
    const int padding = (bytes[pos + 2] >> 1) & 1;
    const std::size_t size =
        static_cast<std::size_t>((version == 0 ? 144 : 72) * kbps * 1000 / rate + padding);
    if (pos + size > end) break;
    if (w.frames == 0) {
      w.version = version;
      w.mode = bytes[pos + 3] >> 6;
      w.rate = rate;
    }
    ++w.frames;
    w.bitrateTotal += kbps * 1000;
    pos += size;
  }
  return w;
}

std::uint32_t Be32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

float FrameMs(int rate) { return (rate > 24000 ? 1152.0f : 576.0f) / static_cast<float>(rate) * 1000.0f; }

class LameFileTest : public ::testing::TestWithParam<int> {
 protected:
  struct Analysed {
    std::vector<std::uint8_t> bytes;
    Mp3StreamInfoImpl info;
    Walked walked;
  };
  static void Analyse(const std::string& name, Analysed& a) {
    a.bytes = mp3test::ReadFile(mp3test::Fixture(name));
    ASSERT_FALSE(a.bytes.empty()) << name;
    const auto length = static_cast<std::uint32_t>(std::min<std::size_t>(a.bytes.size(), 0x20000));
    ASSERT_TRUE(a.info.Parse(a.bytes.data(), length, static_cast<std::uint32_t>(a.bytes.size())))
        << name;
    a.walked = WalkFrames(a.bytes, length);
    ASSERT_GT(a.walked.frames, 10) << name;
    EXPECT_EQ(a.info.GetInfo()->samplingRate, GetParam()) << name;
    EXPECT_FLOAT_EQ(a.info.FrameMs(), FrameMs(GetParam())) << name;
  }
  // Frame count of the Xing/LAME header of the first frame.
  static std::uint32_t XingFrames(const Analysed& a) {
    const bool mono = a.walked.mode == 3;
    const std::size_t at = a.walked.version == 0 ? (mono ? 21 : 36) : (mono ? 13 : 21);
    EXPECT_EQ(std::memcmp(a.bytes.data() + at, "Xing", 4), 0);
    EXPECT_TRUE(Be32(a.bytes.data() + at + 4) & 1);
    return Be32(a.bytes.data() + at + 8);
  }
};

TEST_P(LameFileTest, ConstantBitrateDurationFollowsTheSize) {
  Analysed a;
  Analyse("cbr_" + std::to_string(GetParam()) + ".mp3", a);
  const Mp3StreamProperties& p = *a.info.GetInfo();
  const int kbps = GetParam() > 24000 ? 128 : (GetParam() >= 16000 ? 64 : 32);
  EXPECT_EQ(p.bitrate, kbps * 1000);
  EXPECT_EQ(p.durationMs,
            static_cast<std::int32_t>(static_cast<double>(a.bytes.size()) / (p.bitrate * 0.125) * 1000));
  EXPECT_EQ(p.isVbr, 0);
  EXPECT_EQ(p.hasVbrHeader, 0);
  EXPECT_EQ(p.seekAccurate, 1);
  // Offsets: the bitrate's bytes, or whole frames when every frame has the same size.
  const std::uint32_t offset = a.info.TimeToOffset(1000);
  if (a.info.Format().nBlockSize > 1) {
    const std::uint32_t block = a.info.Format().nBlockSize;
    EXPECT_EQ(offset % block, 0u);
    EXPECT_EQ(offset / block, static_cast<std::uint32_t>(1000.0f / FrameMs(GetParam())));
  } else {
    EXPECT_EQ(offset, static_cast<std::uint32_t>(kbps * 125));
  }
  EXPECT_EQ(a.info.TimeToOffset(999999), a.info.TimeToOffset(static_cast<std::uint32_t>(p.durationMs)));
}

TEST_P(LameFileTest, XingHeaderGivesFramesTimesFrameDuration) {
  for (const std::string kind : {"vbr_", "abr_"}) {
    Analysed a;
    Analyse(kind + std::to_string(GetParam()) + ".mp3", a);
    const Mp3StreamProperties& p = *a.info.GetInfo();
    EXPECT_EQ(p.isVbr, 1) << kind;
    if (GetParam() < 16000) {
      // No Xing lookup at MPEG-2.5 rates: the average of the frames read.
      EXPECT_FALSE(a.info.HasXing());
      EXPECT_EQ(p.hasVbrHeader, 0);
      EXPECT_EQ(p.seekAccurate, 0);
      EXPECT_EQ(p.bitrate, a.walked.bitrateTotal / a.walked.frames);
      continue;
    }
    const std::uint32_t frames = XingFrames(a);
    EXPECT_EQ(p.durationMs, static_cast<std::int32_t>(frames * static_cast<double>(FrameMs(GetParam()))))
        << kind;
    EXPECT_EQ(p.hasVbrHeader, 1);
    EXPECT_EQ(p.seekAccurate, 1);
    EXPECT_TRUE(a.info.Xing().flags & XingHeader::kToc);
    EXPECT_EQ(a.info.PercentToOffset(100.0f), a.info.FileSize());
    const std::uint32_t middle = a.info.PercentToOffset(50.0f);
    EXPECT_GT(middle, a.info.FileSize() / 4);
    EXPECT_LT(middle, a.info.FileSize() * 3 / 4);
  }
}

TEST_P(LameFileTest, VbrWithoutHeaderAveragesTheFramesRead) {
  Analysed a;
  Analyse("vbrt_" + std::to_string(GetParam()) + ".mp3", a);
  const Mp3StreamProperties& p = *a.info.GetInfo();
  EXPECT_EQ(p.bitrate, a.walked.bitrateTotal / a.walked.frames);
  EXPECT_EQ(p.isVbr, 1);
  EXPECT_EQ(p.hasVbrHeader, 0);
  EXPECT_EQ(p.seekAccurate, 0);
  EXPECT_EQ(p.durationMs,
            static_cast<std::int32_t>(static_cast<double>(a.bytes.size()) / (p.bitrate * 0.125) * 1000));
}

INSTANTIATE_TEST_SUITE_P(AllRates, LameFileTest,
                         ::testing::Values(8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100,
                                           48000));

}  // namespace
}  // namespace mpegaudio
