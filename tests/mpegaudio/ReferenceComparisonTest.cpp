// Accuracy against a reference decoder: fixtures encoded by lame from synthetic signals,
// and streams written by the test bitstream writer with block layouts lame never writes
// (CraftedStreams.cpp), all decoded by mpg123 (see scripts/make_mp3_fixtures.sh). ISO/IEC 11172-4 full accuracy:
// RMS difference below 2^-15 / sqrt(12) and maximum difference at most 2^-14 of full scale.
// The 16-bit output may differ by at most 1 LSB and has the same length.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/mpegaudio/DecodeHelpers.h"

namespace mpegaudio {
namespace {

const std::string kDataDir = std::string(TEST_DATA_DIR) + "/";

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

template <typename T>
std::vector<T> ReadSamples(const std::string& path) {
  const auto bytes = ReadFile(path);
  std::vector<T> v(bytes.size() / sizeof(T));
  std::memcpy(v.data(), bytes.data(), v.size() * sizeof(T));
  return v;
}

// Fixtures as "FOLDER/NAME" under the test data folder.
std::vector<std::string> FixtureNames(const std::string& folder) {
  std::vector<std::string> names;
  std::ifstream list(kDataDir + folder + "/fixtures.txt");
  for (std::string name; std::getline(list, name);) {
    if (!name.empty()) names.push_back(folder + "/" + name);
  }
  return names;
}

std::vector<std::string> AllFixtures() {
  std::vector<std::string> names = FixtureNames("mpegaudio");
  for (std::string& name : FixtureNames("mpegaudio_crafted")) names.push_back(name);
  return names;
}

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The reference does not output the Xing/Info frame, which we decode as a silent frame:
// drop our first frame when we have exactly one frame more.
template <typename T>
void Align(std::vector<T>& ours, std::size_t referenceSize, std::size_t frameSamples) {
  if (ours.size() == referenceSize + frameSamples) ours.erase(ours.begin(), ours.begin() + static_cast<std::ptrdiff_t>(frameSamples));
}

class ReferenceComparisonTest : public ::testing::TestWithParam<std::string> {};

TEST(ReferenceFixtures, AreThere) {
  if (FixtureNames("mpegaudio").empty()) GTEST_SKIP() << "no fixtures (lame, mpg123 or sox missing)";
  EXPECT_EQ(FixtureNames("mpegaudio").size(), 10u);
  EXPECT_EQ(FixtureNames("mpegaudio_crafted").size(), 7u);
}

TEST_P(ReferenceComparisonTest, FloatOutputHasFullAccuracy) {
  const std::string name = BaseName(GetParam());
  const auto mp3 = ReadFile(kDataDir + GetParam() + ".mp3");
  const auto reference = ReadSamples<float>(kDataDir + GetParam() + ".f32");
  const auto decoded = test::DecodeStream(mp3, true);
  ASSERT_FALSE(decoded.frames.empty());
  std::vector<float> ours;
  for (const auto& f : decoded.frames) ours.insert(ours.end(), f.begin(), f.end());
  Align(ours, reference.size(), decoded.frames.front().size());
  ASSERT_EQ(ours.size(), reference.size());
  double sum = 0;
  double peak = 0;
  for (std::size_t i = 0; i < ours.size(); ++i) {
    const double d = static_cast<double>(ours[i]) - reference[i];
    sum += d * d;
    peak = std::max(peak, std::fabs(d));
  }
  const double rms = std::sqrt(sum / static_cast<double>(ours.size()));
  // Full scale is [-1, 1): 2^-14 of full scale and 2^-15/sqrt(12) relative to 1.0.
  EXPECT_LE(peak, std::ldexp(1.0, -14)) << name;
  EXPECT_LT(rms, std::ldexp(1.0, -15) / std::sqrt(12.0)) << name;
  std::printf("%-28s samples %8zu  max %.3e  rms %.3e\n", name.c_str(), ours.size(), peak, rms);
}

TEST_P(ReferenceComparisonTest, IntegerOutputWithinOneLsb) {
  const std::string name = BaseName(GetParam());
  const auto mp3 = ReadFile(kDataDir + GetParam() + ".mp3");
  const auto reference = ReadSamples<std::int16_t>(kDataDir + GetParam() + ".s16");
  auto decoded = test::DecodeStream(mp3, false);
  ASSERT_FALSE(decoded.pcm.empty());
  const std::size_t frameSamples =
      static_cast<std::size_t>(decoded.channels) * (name.rfind("m1_", 0) == 0 ? 1152 : 576);
  Align(decoded.pcm, reference.size(), frameSamples);
  ASSERT_EQ(decoded.pcm.size(), reference.size()) << name;
  int worst = 0;
  for (std::size_t i = 0; i < reference.size(); ++i) {
    worst = std::max(worst, std::abs(decoded.pcm[i] - reference[i]));
  }
  EXPECT_LE(worst, 1) << name;
  std::printf("%-28s 16-bit worst difference %d LSB\n", name.c_str(), worst);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ReferenceComparisonTest, ::testing::ValuesIn(AllFixtures()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return BaseName(info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ReferenceComparisonTest);

}  // namespace
}  // namespace mpegaudio
