// Layout rectangles, band geometry and the column mapping.
#include <gtest/gtest.h>

#include "audioedit/view/ColumnMapping.h"
#include "audioedit/view/ViewLayout.h"
#include "tests/audioedit/view/ViewTestSupport.h"

namespace audioedit::view {
namespace {

TEST(ViewLayoutTest, RowsOfTheStripsAndBands) {
  const ViewLayout l = ViewLayout::FromClient(gdi::RECT{0, 0, 200, 143});
  EXPECT_EQ(l.view, (gdi::RECT{0, 0, 200, 123}));
  EXPECT_EQ(l.scale, (gdi::RECT{0, 0, 200, 20}));
  EXPECT_EQ(l.wave, (gdi::RECT{1, 23, 199, 123}));
  EXPECT_EQ(l.upper, (gdi::RECT{1, 23, 199, 70}));  // h = 50
  EXPECT_EQ(l.lower, (gdi::RECT{1, 76, 199, 123}));
  EXPECT_EQ(l.scrollBar, (gdi::RECT{0, 123, 200, 143}));
  EXPECT_EQ(l.Right(), 200);
}

TEST(ViewLayoutTest, BandHeightsAndZeroLevels) {
  const ViewLayout l = ViewLayout::FromClient(gdi::RECT{0, 0, 200, 143});
  EXPECT_EQ(l.BandHeight(1), 100);
  EXPECT_EQ(l.BandTop(0, 1), 23);
  EXPECT_EQ(l.ZeroLevel(0, 1), 73);
  EXPECT_EQ(l.BandHeight(2), 49);
  EXPECT_EQ(l.BandTop(0, 2), 23);
  EXPECT_EQ(l.BandTop(1, 2), 76);
  EXPECT_EQ(l.ZeroLevel(0, 2), 47);
  EXPECT_EQ(l.ZeroLevel(1, 2), 100);
  // Odd wave heights round toward zero.
  const ViewLayout odd = ViewLayout::FromClient(gdi::RECT{0, 0, 50, 144});
  EXPECT_EQ(odd.upper.bottom, 23 + 50 - 3);
  EXPECT_EQ(odd.BandHeight(2), 49);
  EXPECT_EQ(odd.BandHeight(1), 101);
}

TEST(ColumnMappingTest, PeaksPerColumnAndColumnCount) {
  const AUDIO_INFO info = testing::MakeInfo(2, 16, 44100, 147, 1000);
  const ColumnMapping zoom1(info, 1, 799, 0);
  EXPECT_EQ(zoom1.PeaksPerColumn(), 2u);
  EXPECT_EQ(zoom1.ColumnCount(), 500u);
  const ColumnMapping zoom2(info, 2, 799, 0);
  EXPECT_EQ(zoom2.PeaksPerColumn(), 1u);
  EXPECT_EQ(zoom2.ColumnCount(), 1000u);
  EXPECT_EQ(ColumnMapping(info, 0, 799, 0).PeaksPerColumn(), 2u);  // zoom 0 counts as 1
  AUDIO_INFO empty = info;
  empty.total_peaks = 0;
  EXPECT_EQ(ColumnMapping(empty, 1, 799, 0).PeaksPerColumn(), 1u);
}

TEST(ColumnMappingTest, FramesSamplesAndColumns) {
  // 7500 Hz, one record per 100 frames, two records per column: a CD frame is 100 samples,
  // one record, half a column.
  const AUDIO_INFO info = testing::MakeInfo(1, 16, 7500, 100, 402);
  const ColumnMapping m(info, 1, 200, 10);
  ASSERT_EQ(m.PeaksPerColumn(), 2u);
  EXPECT_EQ(m.ColumnOfFrame(100), 40);
  EXPECT_EQ(m.ColumnOfFrame(0), -10);
  EXPECT_EQ(m.ColumnOfSample(1000), -5);
  EXPECT_EQ(m.AbsoluteColumnOfFrame(300), 150u);
  EXPECT_EQ(m.FrameAtX(40, 0), 100u);
  EXPECT_EQ(m.MillisecondsAtColumn(0), 10u * 2 * 100 * 1000 / 7500);
}

TEST(ColumnMappingTest, AbsoluteColumnGoesThroughWholeMilliseconds) {
  const AUDIO_INFO info = testing::MakeInfo(2, 16, 44100, 441, 51200);
  const ColumnMapping m(info, 64, 799, 0);
  ASSERT_EQ(m.PeaksPerColumn(), 1u);
  EXPECT_EQ(m.AbsoluteColumnOfFrame(3750), 5000u);
  EXPECT_EQ(m.AbsoluteColumnOfFrame(1), 1u);  // 13 ms
}

}  // namespace
}  // namespace audioedit::view
