// The waveform view inside the control: painting on WM_PAINT after a load, colour
// properties, zoom members, the scroll bar's messages, size changes and the selected
// divider brought into view.
#include <gtest/gtest.h>

#include "audioedit/control/ControlView.h"
#include "platform/gdi/Bitmap.h"
#include "tests/audioedit/control/ControlTestSupport.h"

namespace audioedit::testing {
namespace {

constexpr gdi::COLORREF kYellow = 0x00FFFF;

int CountColour(const gdi::Bitmap& b, gdi::COLORREF colour) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.GetPixel(x, y) == colour ? 1 : 0;
  return n;
}

struct LoadedHost : Hosted {
  LoadedHost() {
    EXPECT_EQ(Load(Fixture("stereo16.wav")), com::S_OK);
    EXPECT_TRUE(RunUntilLoaded());
    window.RunPending();
  }
  const gdi::Bitmap& Surface() { return control->View().Surface(); }
  std::int64_t Scroll() { return control->View().Wave().ScrollPosition(); }
};

TEST(ControlView, UnloadedWindowPaintsGrey) {
  Hosted host;
  host.window.InvalidateRect(nullptr, true);
  host.window.RunPending();
  const gdi::Bitmap& surface = host.control->View().Surface();
  ASSERT_EQ(surface.Width(), 800);
  EXPECT_EQ(surface.GetPixel(400, 100), 0x808080u);
  EXPECT_EQ(surface.GetPixel(410, 10), 0xE0E0E0u);
}

TEST(ControlView, LoadedFileIsPaintedWithScaleWaveAndDividers) {
  LoadedHost host;
  const gdi::Bitmap& surface = host.Surface();
  EXPECT_EQ(surface.GetPixel(410, 10), 0xE0E0E0u);
  EXPECT_GT(CountColour(surface, kYellow), 1000);
  EXPECT_EQ(surface.GetPixel(0, 60), 0xFFFFFFu);  // the start divider at frame 0
  win::ScrollBar& bar = host.window.HorizontalScrollBar();
  EXPECT_TRUE(bar.IsVisible());
  EXPECT_FALSE(bar.IsEnabled());
  EXPECT_EQ(bar.Placement(), (win::Rect{0, 180, 800, 200}));
}

TEST(ControlView, ColourPropertiesReachTheView) {
  LoadedHost host;
  EXPECT_EQ(host.control->put_ColorWave(0x0000FF), com::S_OK);
  com::OLE_COLOR colour = 0;
  host.control->get_ColorWave(&colour);
  EXPECT_EQ(colour, 0x0000FFu);
  EXPECT_EQ(CountColour(host.Surface(), 0x0000FF), 0);  // no repaint of its own
  host.window.InvalidateRect(nullptr, true);
  host.window.RunPending();
  EXPECT_GT(CountColour(host.Surface(), 0x0000FF), 1000);
}

// stereo16.wav: 3.2 s, 960 records; 801 columns take two records each at zoom 1.
TEST(ControlView, ZoomScrollBarAndResize) {
  LoadedHost host;
  win::ScrollBar& bar = host.window.HorizontalScrollBar();
  EXPECT_EQ(host.control->ZoomIn(), com::S_OK);
  EXPECT_EQ(host.control->ZoomIn(), com::S_OK);  // one record per column already
  com::UINT zoom = 0;
  host.control->get_CurrentZoom(&zoom);
  EXPECT_EQ(zoom, 2u);
  EXPECT_TRUE(bar.IsEnabled());
  host.window.UserScroll(win::SB_RIGHT);
  EXPECT_EQ(host.Scroll(), 961 - 800);
  host.window.UserScroll(win::SB_THUMBTRACK, 100);
  EXPECT_EQ(host.Scroll(), 100);
  host.window.Resize(600, 240);
  host.window.RunPending();
  EXPECT_EQ(host.Surface().Width(), 600);
  EXPECT_EQ(bar.Placement(), (win::Rect{0, 220, 600, 240}));
  EXPECT_EQ(bar.GetInfo().page, 601u);
  EXPECT_EQ(host.Scroll(), 100);
  EXPECT_EQ(host.control->ZoomOutFull(), com::S_OK);
  EXPECT_EQ(host.Scroll(), 0);
  EXPECT_FALSE(bar.IsEnabled());
}

TEST(ControlView, SelectingAnOffScreenDividerScrollsToIt) {
  LoadedHost host;
  host.control->ZoomIn();  // current frame 0: position 0
  ASSERT_EQ(host.Scroll(), 0);
  com::ULONG frame = 0;
  com::LONG type = 0, result = 0;
  host.control->InitEnumDividers();
  host.control->GetNextDivider(&type, &frame, &result);  // start
  host.control->GetNextDivider(&type, &frame, &result);  // end
  ASSERT_EQ(type, DIV_End);
  EXPECT_EQ(host.control->put_SelectedDivider(frame), com::S_OK);
  EXPECT_GT(host.Scroll(), 0);
  const std::int64_t column = host.control->View().Wave().Mapping().ColumnOfFrame(frame);
  EXPECT_GE(column, 0);
  EXPECT_LE(column, 800);
}

}  // namespace
}  // namespace audioedit::testing
