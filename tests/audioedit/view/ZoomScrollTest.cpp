// Zoom steps, centring, the scroll bar's requests, resizing and the view reset.
#include <gtest/gtest.h>

#include <string>

#include "tests/audioedit/view/ViewTestSupport.h"

namespace audioedit::view {
namespace {

using testing::FakeSource;
using testing::FakeWindow;
using testing::MakeInfo;

// The view never opens the peak file here: nothing is painted.
class ZoomScrollTest : public ::testing::Test {
 protected:
  ZoomScrollTest() : window_(799, 200), view_(source_, window_) {}

  void Load(std::uint32_t records, std::uint32_t freq = 44100, std::uint32_t interval = 441) {
    source_.info = MakeInfo(2, 16, freq, interval, records);
    source_.loaded = true;
    view_.Reset();
  }
  win::ScrollInfo Bar() const { return window_.scrollBar.GetInfo(); }

  FakeSource source_;
  FakeWindow window_;
  WaveView view_;
};

TEST_F(ZoomScrollTest, NothingLoadedChangesNothing) {
  EXPECT_EQ(view_.ZoomIn(), com::S_FALSE);
  EXPECT_EQ(view_.ZoomOut(), com::S_FALSE);
  EXPECT_EQ(view_.ZoomOutFull(), com::S_FALSE);
  EXPECT_EQ(view_.ScrollToMs(1000), com::S_FALSE);
  view_.OnHScroll(win::SB_RIGHT);
  EXPECT_EQ(view_.CurrentZoom(), 1u);
  EXPECT_EQ(window_.invalidations, 0);
}

TEST_F(ZoomScrollTest, ResetShowsADisabledBarOverTheWholeFile) {
  Load(1000);
  EXPECT_EQ(view_.Mapping().PeaksPerColumn(), 2u);
  EXPECT_EQ(view_.Mapping().ColumnCount(), 500u);
  EXPECT_EQ(Bar().min, 0);
  EXPECT_EQ(Bar().max, 501);
  EXPECT_EQ(Bar().pos, 0);
  EXPECT_TRUE(window_.scrollBar.IsVisible());
  EXPECT_FALSE(window_.scrollBar.IsEnabled());
  EXPECT_EQ(window_.scrollBar.Placement(), (win::Rect{0, 180, 799, 200}));
}

TEST_F(ZoomScrollTest, ZoomInStopsAtOneRecordPerColumn) {
  Load(1000);
  EXPECT_EQ(view_.ZoomIn(), com::S_OK);
  EXPECT_EQ(view_.CurrentZoom(), 2u);
  EXPECT_EQ(view_.Mapping().PeaksPerColumn(), 1u);
  EXPECT_EQ(view_.Mapping().ColumnCount(), 1000u);
  EXPECT_EQ(Bar().max, 1001);
  EXPECT_EQ(Bar().page, 800u);
  EXPECT_TRUE(window_.scrollBar.IsEnabled());
  const int repaints = window_.invalidations;
  EXPECT_EQ(view_.ZoomIn(), com::S_OK);
  EXPECT_EQ(view_.CurrentZoom(), 2u);
  EXPECT_EQ(window_.invalidations, repaints);
}

// 51200 records: zoom 64 gives one record per column. 44100 Hz and 441 samples per record:
// frame 3750 (50 s) lies in absolute column 5000 at zoom 64.
TEST_F(ZoomScrollTest, ZoomInCentresTheCurrentFrame) {
  Load(51200);
  source_.currentFrame = 3750;
  for (int i = 0; i < 6; ++i) ASSERT_EQ(view_.ZoomIn(), com::S_OK);
  EXPECT_EQ(view_.CurrentZoom(), 64u);
  EXPECT_EQ(view_.ScrollPosition(), 4600);
  EXPECT_EQ(Bar().pos, 4600);
}

TEST_F(ZoomScrollTest, CentringStopsAtTheHighestPositionAndAtZero) {
  Load(51200);
  source_.currentFrame = 38250;  // absolute column 51000 at zoom 64
  for (int i = 0; i < 6; ++i) view_.ZoomIn();
  EXPECT_EQ(view_.ScrollPosition(), 51201 - 799);
  source_.currentFrame = 30;  // column 40: within half a page of the start
  view_.ZoomOut();
  view_.ZoomIn();
  EXPECT_EQ(view_.ScrollPosition(), 0);
}

TEST_F(ZoomScrollTest, ZoomOutFromTwoReturnsToTheWholeFile) {
  Load(51200);
  source_.currentFrame = 30000;
  view_.ZoomIn();
  ASSERT_GT(view_.ScrollPosition(), 0);
  const int repaints = window_.invalidations;
  EXPECT_EQ(view_.ZoomOut(), com::S_OK);
  EXPECT_EQ(view_.CurrentZoom(), 1u);
  EXPECT_EQ(view_.ScrollPosition(), 0);
  EXPECT_EQ(Bar().pos, 0);
  EXPECT_FALSE(window_.scrollBar.IsEnabled());
  EXPECT_GT(window_.invalidations, repaints);
  EXPECT_EQ(view_.ZoomOut(), com::S_OK);  // at zoom 1: accepted, nothing happens
  EXPECT_EQ(view_.CurrentZoom(), 1u);
}

TEST_F(ZoomScrollTest, ZoomOutFromEightCentresAgain) {
  Load(51200);
  source_.currentFrame = 30000;  // 400 s: absolute column 2500 at zoom 4
  for (int i = 0; i < 3; ++i) view_.ZoomIn();
  ASSERT_EQ(view_.CurrentZoom(), 8u);
  EXPECT_EQ(view_.ZoomOut(), com::S_OK);
  EXPECT_EQ(view_.CurrentZoom(), 4u);
  EXPECT_EQ(view_.Mapping().PeaksPerColumn(), 16u);
  EXPECT_EQ(view_.ScrollPosition(), 2100);
  EXPECT_TRUE(window_.scrollBar.IsEnabled());
}

TEST_F(ZoomScrollTest, ZoomOutFullResetsThePosition) {
  Load(51200);
  const int repaints = window_.invalidations;
  EXPECT_EQ(view_.ZoomOutFull(), com::S_OK);  // zoom 1 already: no repaint
  EXPECT_EQ(window_.invalidations, repaints);
  EXPECT_EQ(view_.ScrollPosition(), 0);
  source_.currentFrame = 30000;
  view_.ZoomIn();
  view_.ZoomIn();
  EXPECT_EQ(view_.ZoomOutFull(), com::S_OK);
  EXPECT_EQ(view_.CurrentZoom(), 1u);
  EXPECT_EQ(view_.ScrollPosition(), 0);
  EXPECT_EQ(Bar().max, 801);
  EXPECT_FALSE(window_.scrollBar.IsEnabled());
}

TEST_F(ZoomScrollTest, ScrollBarRequests) {
  Load(51200);
  view_.PutCurrentZoom(64);
  const int highest = 51201 - 799;
  auto scroll = [&](unsigned request) {
    view_.OnHScroll(request);
    EXPECT_EQ(Bar().pos, view_.ScrollPosition());
    return view_.ScrollPosition();
  };
  EXPECT_EQ(scroll(win::SB_LINELEFT), 0);
  EXPECT_EQ(scroll(win::SB_LINERIGHT), 1);
  EXPECT_EQ(scroll(win::SB_PAGERIGHT), 801);
  EXPECT_EQ(scroll(win::SB_PAGELEFT), 1);
  EXPECT_EQ(scroll(win::SB_PAGELEFT), 0);
  EXPECT_EQ(scroll(win::SB_RIGHT), highest);
  EXPECT_EQ(scroll(win::SB_LINERIGHT), highest);
  EXPECT_EQ(scroll(win::SB_PAGELEFT), highest - 800);
  EXPECT_EQ(scroll(win::SB_PAGERIGHT), highest);
  EXPECT_EQ(scroll(win::SB_LEFT), 0);
  window_.scrollBar.SetTrackPosition(1234);
  EXPECT_EQ(scroll(win::SB_THUMBTRACK), 1234);
  window_.scrollBar.SetTrackPosition(77);
  EXPECT_EQ(scroll(win::SB_THUMBPOSITION), 77);
  const int repaints = window_.invalidations;
  EXPECT_EQ(scroll(win::SB_ENDSCROLL), 77);
  EXPECT_EQ(scroll(99), 77);
  EXPECT_EQ(window_.invalidations, repaints);
}

TEST_F(ZoomScrollTest, ResizeKeepsZoomAndPosition) {
  Load(51200);
  source_.currentFrame = 30000;
  view_.ZoomIn();
  view_.ZoomIn();  // zoom 4: P 16, position 2100
  ASSERT_EQ(view_.ScrollPosition(), 2100);
  window_.Resize(1599, 300);
  view_.OnSize(1599, 300);
  EXPECT_EQ(view_.CurrentZoom(), 4u);
  EXPECT_EQ(view_.Mapping().PeaksPerColumn(), 8u);
  EXPECT_EQ(Bar().max, 6401);
  EXPECT_EQ(Bar().page, 1600u);
  EXPECT_EQ(view_.ScrollPosition(), 2100);
  EXPECT_EQ(window_.scrollBar.Placement(), (win::Rect{0, 280, 1599, 300}));
  view_.OnSize(0, 300);  // ignored
  EXPECT_EQ(view_.Layout().Right(), 1599);
}

TEST_F(ZoomScrollTest, ScrollToMsBringsTheTimeIntoViewCentred) {
  Load(51200);
  view_.PutCurrentZoom(64);
  EXPECT_EQ(view_.ScrollToMs(50000), com::S_OK);  // absolute column 5000
  EXPECT_EQ(view_.ScrollPosition(), 4600);
}

TEST_F(ZoomScrollTest, ShortFileScrollsToZero) {
  Load(100);  // fewer columns than the view
  EXPECT_EQ(view_.Mapping().PeaksPerColumn(), 1u);
  EXPECT_EQ(view_.ZoomIn(), com::S_OK);
  EXPECT_EQ(view_.CurrentZoom(), 1u);
  view_.ScrollToColumn(90, true);
  EXPECT_EQ(view_.ScrollPosition(), 0);
  view_.ScrollToColumn(90, false);
  EXPECT_EQ(view_.ScrollPosition(), 0);
}

TEST_F(ZoomScrollTest, ZoomPutOfZeroIsTakenAsOne) {
  Load(1000);
  EXPECT_EQ(view_.PutCurrentZoom(0), com::S_OK);
  EXPECT_EQ(view_.CurrentZoom(), 1u);
  EXPECT_EQ(view_.Mapping().PeaksPerColumn(), 2u);
  EXPECT_EQ(view_.PutCurrentZoom(2), com::S_OK);
  EXPECT_TRUE(window_.scrollBar.IsEnabled());
  EXPECT_EQ(Bar().max, 1001);
}

TEST_F(ZoomScrollTest, ShowFrameScrollsOnlyWhenOffScreen) {
  Load(51200);
  view_.PutCurrentZoom(64);
  view_.ShowFrame(300);  // column 400: on screen
  EXPECT_EQ(view_.ScrollPosition(), 0);
  view_.ShowFrame(3750);  // column 5000
  EXPECT_EQ(view_.ScrollPosition(), 4600);
}

TEST_F(ZoomScrollTest, LoadWithoutRecordsHidesTheBar) {
  Load(1000);
  Load(0);
  EXPECT_FALSE(window_.scrollBar.IsVisible());
  EXPECT_EQ(view_.ZoomIn(), com::S_FALSE);
  EXPECT_EQ(view_.CurrentZoom(), 1u);
}

}  // namespace
}  // namespace audioedit::view
