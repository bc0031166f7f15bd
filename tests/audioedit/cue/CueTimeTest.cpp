// mm:ss:ff text of CD frame counts, both ways.
#include <gtest/gtest.h>

#include "audioedit/cue/CueTime.h"

namespace audioedit::cue {
namespace {

TEST(CueTime, FormatsMinutesSecondsAndFrames) {
  EXPECT_EQ(FormatMsf(0), "00:00:00");
  EXPECT_EQ(FormatMsf(74), "00:00:74");
  EXPECT_EQ(FormatMsf(75), "00:01:00");
  EXPECT_EQ(FormatMsf(359999), "79:59:74");
  EXPECT_EQ(FormatMsf(100 * 60 * 75 + 1), "100:00:01");  // minutes run past 99
}

TEST(CueTime, ParsesWhatItFormatsAndRefusesTheRest) {
  for (std::uint32_t frame : {0u, 1u, 74u, 75u, 4499u, 359999u, 7500000u})
    EXPECT_EQ(ParseMsf(FormatMsf(frame)), frame) << frame;
  EXPECT_EQ(ParseMsf("1:02:03"), 60u * 75 + 2 * 75 + 3);
  for (const char* bad : {"", "00:00", "00:60:00", "00:00:75", "00:0:00", "00:00:000", "-1:00:00",
                          "00:00:0x", "1234567:00:00", "00:00:00:00", "aa:bb:cc", "00::00"})
    EXPECT_FALSE(ParseMsf(bad).has_value()) << bad;
}

}  // namespace
}  // namespace audioedit::cue
