// Audio wider than 16 bits: the figures a host reads, and the picture, which is the same as
// that of the same audio cut to its 16 most significant bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "audioedit/control/ControlView.h"
#include "tests/audioedit/control/ControlTestSupport.h"
#include "tests/platform/media/WavTestData.h"

namespace audioedit::testing {
namespace {

void PutLe(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 16-bit WAV of the two most significant bytes of every 24-bit sample of `wav`.
void WriteTop16(const testdata::WavData& wav, const std::string& path) {
  std::vector<std::uint8_t> pcm;
  for (std::size_t at = 0; at + 3 <= wav.pcm.size(); at += 3) {
    pcm.push_back(wav.pcm[at + 1]);
    pcm.push_back(wav.pcm[at + 2]);
  }
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  PutLe(out, static_cast<std::uint32_t>(36 + pcm.size()), 4);
  out.write("WAVEfmt ", 8);
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);
  PutLe(out, wav.channels, 2);
  PutLe(out, wav.rate, 4);
  PutLe(out, wav.rate * wav.channels * 2u, 4);
  PutLe(out, wav.channels * 2u, 2);
  PutLe(out, 16, 2);
  out.write("data", 4);
  PutLe(out, static_cast<std::uint32_t>(pcm.size()), 4);
  out.write(reinterpret_cast<const char*>(pcm.data()), static_cast<std::streamsize>(pcm.size()));
}

std::vector<std::uint32_t> PaintedPixels(Hosted& host) {
  host.window.InvalidateRect(nullptr, true);
  host.window.RunPending();
  const auto pixels = host.control->View().Surface().Pixels();
  return std::vector<std::uint32_t>(pixels.begin(), pixels.end());
}

TEST(AudioEditCtlSampleSize, TwentyFourBitAudioReportsItsSizeAndPaintsAsItsTopSixteenBits) {
  const testdata::WavData wav = testdata::ReadWav(Fixture("stereo24.wav"));
  ASSERT_EQ(wav.bits, 24);
  ASSERT_EQ(wav.channels, 2);

  Hosted wide;
  ASSERT_EQ(wide.Load(Fixture("stereo24.wav")), com::S_OK);
  ASSERT_TRUE(wide.RunUntilLoaded());
  AUDIO_INFO info{};
  ASSERT_EQ(wide.control->GetAudioInfo(&info), com::S_OK);
  EXPECT_EQ(info.bits, 24);
  EXPECT_EQ(info.blockalign, 6);
  EXPECT_EQ(info.BPS, 6);
  EXPECT_EQ(info.total_peaks, wav.Frames() / 147);

  Hosted narrow;
  const std::string top16 = (narrow.temp.Path() / "top16.wav").string();
  WriteTop16(wav, top16);
  ASSERT_EQ(narrow.Load(top16), com::S_OK);
  ASSERT_TRUE(narrow.RunUntilLoaded());
  AUDIO_INFO narrowInfo{};
  narrow.control->GetAudioInfo(&narrowInfo);
  ASSERT_EQ(narrowInfo.bits, 16);
  ASSERT_EQ(narrowInfo.total_peaks, info.total_peaks);

  const std::vector<std::uint32_t> a = PaintedPixels(wide);
  const std::vector<std::uint32_t> b = PaintedPixels(narrow);
  ASSERT_EQ(a.size(), b.size());
  ASSERT_FALSE(a.empty());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < a.size(); ++i) differing += a[i] != b[i];
  EXPECT_EQ(differing, 0u);
  // A real picture, not two empty ones: backgrounds, scale, wave and zero line.
  std::vector<std::uint32_t> colours;
  for (std::uint32_t p : a)
    if (std::find(colours.begin(), colours.end(), p) == colours.end()) colours.push_back(p);
  EXPECT_GE(colours.size(), 4u);
}

}  // namespace
}  // namespace audioedit::testing
