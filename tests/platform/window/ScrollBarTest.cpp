#include "platform/window/ScrollBar.h"

#include <gtest/gtest.h>

namespace win {
namespace {

TEST(ScrollBarModel, ClampsPositionToHighestPositionOfThePage) {
  ScrollBarModel bar;
  EXPECT_EQ(bar.SetInfo(ScrollInfo{0, 1001, 800, 5000, 0}, SIF_ALL), 202);
  EXPECT_EQ(bar.HighestPosition(), 202);  // 1001 - (800 - 1)
  EXPECT_EQ(bar.GetInfo().trackPos, 202);
  EXPECT_EQ(bar.SetInfo(ScrollInfo{0, 0, 0, -3, 0}, SIF_POS), 0);
}

TEST(ScrollBarModel, PageLargerThanTheRangeShrinksToTheRange) {
  ScrollBarModel bar;
  bar.SetInfo(ScrollInfo{0, 501, 800, 0, 0}, SIF_RANGE | SIF_PAGE | SIF_POS);
  EXPECT_EQ(bar.GetInfo().page, 502u);
  EXPECT_EQ(bar.HighestPosition(), 0);
}

TEST(ScrollBarModel, PageOfOneOrZeroLetsThePositionReachTheMaximum) {
  ScrollBarModel bar;
  bar.SetInfo(ScrollInfo{0, 10, 1, 10, 0}, SIF_ALL);
  EXPECT_EQ(bar.GetInfo().pos, 10);
  bar.SetInfo(ScrollInfo{0, 10, 0, 99, 0}, SIF_ALL);
  EXPECT_EQ(bar.GetInfo().pos, 10);
}

TEST(ScrollBarModel, RangeChangeKeepsThePositionInside) {
  ScrollBarModel bar;
  bar.SetInfo(ScrollInfo{0, 100, 10, 80, 0}, SIF_ALL);
  bar.SetInfo(ScrollInfo{0, 50, 0, 0, 0}, SIF_RANGE);
  EXPECT_EQ(bar.GetInfo().pos, 41);
  bar.SetTrackPosition(500);
  EXPECT_EQ(bar.GetInfo().trackPos, 41);
  EXPECT_EQ(bar.GetInfo().pos, 41);
}

TEST(ScrollBarModel, RemembersStateAndPlacement) {
  ScrollBarModel bar;
  bar.Show(false);
  bar.Enable(false);
  bar.Move(Rect{0, 180, 300, 200});
  EXPECT_FALSE(bar.IsVisible());
  EXPECT_FALSE(bar.IsEnabled());
  EXPECT_EQ(bar.Placement(), (Rect{0, 180, 300, 200}));
}

}  // namespace
}  // namespace win
