// Dividers, the selection handle, the current mark, quick repaints and the time text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audioedit/view/DividerPainter.h"
#include "tests/audioedit/view/ViewTestSupport.h"

namespace audioedit::view {
namespace {

using testing::MakeInfo;
using testing::ViewRig;

constexpr gdi::COLORREF kWhite = 0xFFFFFF;
constexpr gdi::COLORREF kBlack = 0x000000;
constexpr gdi::COLORREF kYellow = 0x00FFFF;
constexpr gdi::COLORREF kBlue = 0xFF0000;  // RGB 0, 0, 255
constexpr gdi::COLORREF kRed = 0x0000FF;
constexpr gdi::COLORREF kCyan = 0xFFFF00;

// Same geometry as the wave tests: client 200 × 143, a frame per record, two records per
// column, so frame f lies in column f / 2. Upper band 23 .. 70, lower band ends at 123.
class DividerPaintTest : public ::testing::Test {
 protected:
  DividerPaintTest() : rig_(200, 143) {
    std::vector<std::int32_t> values;
    for (int r = 0; r < 2 * 402; ++r) values.push_back(r % 2 ? 1000 : -1000);
    const std::string name = std::string("view_div_") +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".peaks";
    rig_.Load(MakeInfo(2, 16, 7500, 100, 402), values, name);
    rig_.source.AddDivider(DIV_Start, 20);   // column 10
    rig_.source.AddDivider(DIV_Split, 100);  // column 50
    rig_.source.AddDivider(DIV_Index, 200);  // column 100
    rig_.source.AddDivider(DIV_End, 380);    // column 190
  }
  ViewRig rig_;
};

TEST_F(DividerPaintTest, DividersAreTwoPixelLinesAcrossBothBands) {
  rig_.Paint();
  for (int x : {49, 50}) {
    EXPECT_EQ(rig_.At(x, 23), kRed) << x;
    EXPECT_EQ(rig_.At(x, 122), kRed) << x;
  }
  EXPECT_EQ(rig_.At(50, 22), kBlack);
  EXPECT_EQ(rig_.At(48, 30), kBlack);
  EXPECT_EQ(rig_.At(51, 30), kBlack);
  EXPECT_EQ(rig_.At(99, 30), kCyan);
  EXPECT_EQ(rig_.At(9, 30), kWhite);
  EXPECT_EQ(rig_.At(190, 30), kWhite);
}

TEST_F(DividerPaintTest, SelectedDividerHasAnEightByNineHandle) {
  rig_.source.selected = 1;  // the split at column 50
  rig_.Paint();
  // Upper.bottom is 70: the handle covers columns 46 .. 53 and rows 67 .. 75.
  int count = 0;
  for (int y = 60; y < 80; ++y)
    for (int x = 40; x < 60; ++x) count += rig_.At(x, y) == kRed ? 1 : 0;
  const int lineOutsideHandle = 2 * (20 - 9);
  EXPECT_EQ(count, 8 * 9 + lineOutsideHandle);
  EXPECT_EQ(rig_.At(46, 67), kRed);
  EXPECT_EQ(rig_.At(53, 75), kRed);
  EXPECT_EQ(rig_.At(45, 70), kBlack);
  EXPECT_EQ(rig_.At(54, 71), 0xE0E0E0u);  // the channel divider line goes on
  EXPECT_EQ(rig_.At(46, 66), kBlack);
  EXPECT_EQ(rig_.At(46, 76), kBlack);
}

TEST_F(DividerPaintTest, DividersOffScreenAreNotDrawn) {
  rig_.source.dividers.clear();
  rig_.source.AddDivider(DIV_Start, 402);  // column 201 = r + 1
  rig_.source.AddDivider(DIV_End, 404);
  rig_.source.selected = 0;
  rig_.Paint();
  for (int x = 190; x < 200; ++x) EXPECT_NE(rig_.At(x, 70), kWhite) << x;
  // Scrolled one column on, a divider in absolute column 0 lies at column -1.
  rig_.view.PutCurrentZoom(2);
  rig_.view.ScrollToColumn(1, false);
  ASSERT_EQ(rig_.view.ScrollPosition(), 1);
  rig_.source.dividers.clear();
  rig_.source.AddDivider(DIV_Split, 0);
  rig_.source.AddDivider(DIV_End, 800);
  rig_.Paint();
  for (int x = 0; x < 4; ++x) EXPECT_NE(rig_.At(x, 70), kRed) << x;
}

TEST_F(DividerPaintTest, CurrentMarkInvertsWhatLiesBeneath) {
  rig_.source.currentFrame = 300;  // column 150
  rig_.source.markShown = true;
  rig_.Paint();
  EXPECT_EQ(rig_.At(150, 30), kWhite);  // over the black background
  EXPECT_EQ(rig_.At(149, 30), kWhite);
  EXPECT_EQ(rig_.At(151, 30), kBlack);
  EXPECT_EQ(rig_.At(150, 48), kBlue);   // over the yellow wave
  EXPECT_EQ(rig_.At(150, 22), kWhite);  // from one row above the upper band
  EXPECT_EQ(rig_.At(150, 21), kBlack);
  EXPECT_EQ(rig_.At(150, 122), kWhite);
  rig_.view.PutColour(ViewColour::CurrentMark, 0x00FF00);  // any colour: still inverse
  rig_.view.QuickRepaint();
  EXPECT_EQ(rig_.At(150, 30), kWhite);
  EXPECT_EQ(rig_.At(149, 30), kBlack);  // a put makes the mark's pen 1 pixel wide
}

TEST_F(DividerPaintTest, QuickRepaintRedrawsDividersOverTheCachedWave) {
  rig_.Paint();
  rig_.source.dividers[1].frame = 140;  // the split moves to column 70
  rig_.source.selected = 1;
  rig_.view.PutColour(ViewColour::Split, kBlue);
  rig_.view.QuickRepaint();
  EXPECT_EQ(rig_.At(70, 30), kBlue);
  EXPECT_EQ(rig_.At(50, 30), kBlack);
  EXPECT_EQ(rig_.At(66, 67), kBlue);
  EXPECT_EQ(rig_.At(50, 48), kYellow);  // the wave under the old place is back
}

TEST_F(DividerPaintTest, TimeTextSitsBesideOrOnTheLine) {
  const DIVIDER d{DIV_Split, 0, 4500 + 75 * 2 + 3};  // 01:02:03
  EXPECT_EQ(DividerTimeLabel(d.frame), "01:02:03");
  auto leftmostWhite = [&] {
    for (int x = 0; x < 200; ++x)
      if (rig_.At(x, 23) == kWhite) return x;
    return -1;
  };
  rig_.view.DividerTimeText(5, d);  // 40 pixels wide, half 20
  EXPECT_EQ(leftmostWhite(), 7);
  EXPECT_EQ(rig_.At(6, 23), kBlack);
  gdi::DeviceContext(rig_.window.surface).FillRect(gdi::RECT{0, 0, 200, 143}, gdi::Brush(0));
  rig_.view.DividerTimeText(185, d);
  EXPECT_EQ(leftmostWhite(), 185 - 40 - 2);
  gdi::DeviceContext(rig_.window.surface).FillRect(gdi::RECT{0, 0, 200, 143}, gdi::Brush(0));
  rig_.view.DividerTimeText(100, d);
  EXPECT_EQ(leftmostWhite(), 80);
  bool red = false;
  for (int y = 23; y < 32; ++y)
    for (int x = 80; x < 120; ++x) red = red || rig_.At(x, y) == kRed;
  EXPECT_TRUE(red);
}

}  // namespace
}  // namespace audioedit::view
