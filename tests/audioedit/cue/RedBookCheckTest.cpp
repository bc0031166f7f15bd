// The audio CD limits: one finding per broken rule, naming the track and the times.
#include <gtest/gtest.h>

#include "audioedit/cue/RedBookCheck.h"

namespace audioedit::cue {
namespace {

CueLayout Layout(std::vector<DIVIDER> dividers) {
  CueLayoutResult r = BuildCueLayout(dividers);
  EXPECT_TRUE(r.layout.has_value()) << r.error;
  return r.layout ? *r.layout : CueLayout{};
}

std::vector<std::string> Messages(const CueLayout& layout) {
  std::vector<std::string> out;
  for (const RedBookFinding& f : CheckRedBook(layout)) out.push_back(f.message);
  return out;
}

TEST(RedBookCheck, ALayoutWithinTheLimitsHasNoFinding) {
  // 99 tracks of exactly 4 seconds, 98 index marks in the last one, ending at 79:59:74.
  std::vector<DIVIDER> d = {{DIV_Start, 0, 0}};
  for (std::uint32_t t = 1; t < 99; ++t) d.push_back({DIV_Split, 0, t * 300});
  for (std::uint32_t i = 1; i <= 98; ++i) d.push_back({DIV_Index, 0, 98 * 300 + i});
  d.push_back({DIV_End, 0, kMaxDiscFrames});
  EXPECT_TRUE(Messages(Layout(d)).empty());
}

TEST(RedBookCheck, AThreeSecondTrack) {
  EXPECT_EQ(
      Messages(Layout(
          {{DIV_Start, 0, 150}, {DIV_Split, 0, 1500}, {DIV_Split, 0, 1725}, {DIV_End, 0, 4500}})),
      std::vector<std::string>{"track 2: is 00:03:00 long (00:20:00 to 00:23:00), shorter "
                               "than the 00:04:00 of a CD track"});
}

TEST(RedBookCheck, AHundredTracks) {
  std::vector<DIVIDER> d = {{DIV_Start, 0, 0}};
  for (std::uint32_t t = 1; t < 100; ++t) d.push_back({DIV_Split, 0, t * 300});
  d.push_back({DIV_End, 0, 100 * 300});
  const auto findings = CheckRedBook(Layout(d));
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].track, 100u);
  EXPECT_EQ(findings[0].message,
            "track 100: starts at 06:36:00; the layout has 100 tracks, more than the 99 of a CD");
}

TEST(RedBookCheck, AHundredIndexPoints) {
  std::vector<DIVIDER> d = {{DIV_Start, 0, 0}, {DIV_Split, 0, 300}};
  for (std::uint32_t i = 1; i <= 99; ++i) d.push_back({DIV_Index, 0, 300 + 10 * i});
  d.push_back({DIV_End, 0, 3000});
  EXPECT_EQ(Messages(Layout(d)),
            std::vector<std::string>{"track 2: has 100 index points (INDEX 100 at 00:17:15), more "
                                     "than the 99 of a CD track"});
}

TEST(RedBookCheck, EightyOneMinutes) {
  EXPECT_EQ(
      Messages(Layout({{DIV_Start, 0, 0}, {DIV_Split, 0, 40 * 4500}, {DIV_End, 0, 81 * 4500}})),
      std::vector<std::string>{"track 2: ends at 81:00:00, past the 79:59:74 a CD holds"});
  EXPECT_EQ(Messages(Layout({{DIV_Start, 0, 0}, {DIV_End, 0, kMaxDiscFrames + 1}})).size(), 1u);
}

}  // namespace
}  // namespace audioedit::cue
