// The time scale: ticks every 20 pixels, labels every 80 pixels, label texts.
#include <gtest/gtest.h>

#include "audioedit/view/ScalePainter.h"
#include "platform/gdi/MemoryDC.h"
#include "tests/audioedit/view/ViewTestSupport.h"

namespace audioedit::view {
namespace {

constexpr gdi::COLORREF kTicks = 0xC80000;
constexpr gdi::COLORREF kLabel = 0xFF0000;
constexpr gdi::COLORREF kScaleBg = 0xE0E0E0;

TEST(ScaleLabelTest, MinutesSecondsAndFrames) {
  EXPECT_EQ(ScaleLabel(0), "00.00.00");
  EXPECT_EQ(ScaleLabel(61040), "01.01.03");
  EXPECT_EQ(ScaleLabel(999), "00.00.74");
  EXPECT_EQ(ScaleLabel(100u * 60000u), "100.00.00");  // minutes are not cut to two digits
}

class ScaleTest : public ::testing::Test {
 protected:
  ScaleTest() : strip_(250, 21) {
    colours_.CreateAll();
    // 7500 Hz, 100 samples per record, 2 records per column: a column is 26.67 ms.
    info_ = testing::MakeInfo(1, 16, 7500, 100, 10000);
  }
  void Paint(std::int64_t scroll) {
    const ColumnMapping mapping(info_, 25, 199, scroll);
    ASSERT_EQ(mapping.PeaksPerColumn(), 2u);
    PaintScale(strip_.Dc(), gdi::RECT{0, 0, 250, 20}, colours_, &mapping);
  }
  // The label pixels that `text` makes when drawn at x.
  static gdi::Bitmap Reference(int x, const std::string& text) {
    gdi::MemoryDC ref(250, 21);
    ref.Dc().FillRect(gdi::RECT{0, 0, 250, 21}, gdi::Brush(kScaleBg));
    ref.Dc().SetBkMode(gdi::TRANSPARENT);
    ref.Dc().SetTextColor(kLabel);
    ref.Dc().TextOut(x, 0, text);
    return std::move(ref.Surface());
  }
  void ExpectLabel(int x, const std::string& text) {
    const gdi::Bitmap ref = Reference(x + 2, text);
    const int width = gdi::DeviceContext().GetTextExtent(text).cx;
    for (int y = 0; y < 20; ++y) {
      for (int px = x + 2; px < x + 2 + width; ++px) {
        ASSERT_EQ(strip_.Surface().GetPixel(px, y) == kLabel, ref.GetPixel(px, y) == kLabel)
            << text << " at " << px << "," << y;
      }
    }
  }

  gdi::MemoryDC strip_;
  ViewColours colours_;
  AUDIO_INFO info_{};
};

TEST_F(ScaleTest, TicksEveryTwentyPixelsAndFullHeightEveryEighty) {
  Paint(0);
  for (int x = 0; x < 250; x += 20) {
    const bool major = x % 80 == 0;
    EXPECT_EQ(strip_.Surface().GetPixel(x, 0) == kTicks, major) << x;
    EXPECT_EQ(strip_.Surface().GetPixel(x, 15), major ? kTicks : kScaleBg) << x;
    EXPECT_EQ(strip_.Surface().GetPixel(x, 16), kTicks) << x;
  }
  EXPECT_EQ(strip_.Surface().GetPixel(10, 19), kScaleBg);
  EXPECT_EQ(strip_.Surface().GetPixel(10, 20), kTicks);  // base line
  EXPECT_EQ(strip_.Surface().GetPixel(249, 20), kTicks);
}

TEST_F(ScaleTest, LabelsStartAtZeroAndFollowTheScrollPosition) {
  Paint(0);
  ExpectLabel(0, "00.00.00");
  ExpectLabel(80, ScaleLabel(80u * 2 * 100 * 1000 / 7500));  // 2133 ms: "00.02.09"
  ExpectLabel(160, "00.04.19");
  Paint(3000);
  ExpectLabel(0, ScaleLabel(3000u * 200 * 1000 / 7500));  // 80000 ms
  EXPECT_EQ(ScaleLabel(80000), "01.20.00");
}

TEST_F(ScaleTest, LabelsStayInTheirBoxes) {
  Paint(0);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 250; ++x) {
      if (strip_.Surface().GetPixel(x, y) != kLabel) continue;
      const int box = x % 80;
      EXPECT_GE(box, 2) << x;
      EXPECT_LT(box, 2 + 48) << x;
    }
  }
}

}  // namespace
}  // namespace audioedit::view
