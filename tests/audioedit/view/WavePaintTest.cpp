// Full paints of small peak files: value rows, bands, colours of the active range, channel
// divider line, zero levels, partial and missing columns, unloaded and unreadable states.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "audioedit/view/WavePainter.h"
#include "tests/audioedit/view/ViewTestSupport.h"

namespace audioedit::view {
namespace {

using testing::MakeInfo;
using testing::ViewRig;

constexpr gdi::COLORREF kYellow = 0x00FFFF;
constexpr gdi::COLORREF kOlive = 0x00A0A0;
constexpr gdi::COLORREF kBlack = 0x000000;
constexpr gdi::COLORREF kGrey = 0x808080;
constexpr gdi::COLORREF kLightGrey = 0xE0E0E0;

// Client 200 × 143: wave rows 23 .. 122; stereo bands 23 (H 49) and 76; channel divider on
// row 71; zero levels 73 (mono), 47 and 100 (stereo). 7500 Hz with one record per 100
// samples: a CD frame is one record.
constexpr int kWidth = 200;
constexpr int kHeight = 143;

std::string Name(const char* what) {
  return std::string("view_wave_") +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + what + ".peaks";
}

// `columns` columns of `perColumn` records, each column alternating lo, hi per record.
std::vector<std::int32_t> Columns(int records, int channels,
                                  const std::vector<std::int32_t>& lowHighPerChannel) {
  std::vector<std::int32_t> values;
  for (int r = 0; r < records; ++r) {
    for (int c = 0; c < channels; ++c) values.push_back(lowHighPerChannel[2 * c + (r % 2)]);
  }
  return values;
}

struct Pixel {
  int x;
  int y;
  gdi::COLORREF colour;
};

void ExpectPixels(const ViewRig& rig, std::initializer_list<Pixel> pixels) {
  for (const Pixel& p : pixels) EXPECT_EQ(rig.At(p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST(ValueRowTest, FullScaleReachesTheBandEdges) {
  EXPECT_EQ(ValueRow(32767, 16, 23, 49), 23);
  EXPECT_EQ(ValueRow(-32768, 16, 23, 49), 72);
  EXPECT_EQ(ValueRow(0, 16, 23, 100), 23 + 32767 * 100 / 65535);
  EXPECT_EQ(ValueRow(255, 8, 23, 100), 23);
  EXPECT_EQ(ValueRow(0, 8, 23, 100), 123);
  EXPECT_EQ(ValueRow(128, 8, 23, 100), 23 + 127 * 100 / 255);
}

TEST(WavePaintTest, StereoFullScaleFillsBothBands) {
  ViewRig rig(kWidth, kHeight);
  rig.Load(MakeInfo(2, 16, 7500, 100, 402), Columns(402, 2, {-32768, 32767, -32768, 32767}),
           Name("a"));
  rig.Paint();
  ExpectPixels(rig, {
                        {10, 22, kBlack},
                        {10, 23, kYellow},  // 32767: band top
                        {10, 72, kYellow},  // -32768: top + H
                        {10, 73, kBlack},
                        {10, 75, kBlack},
                        {10, 76, kYellow},  // second band's top
                        {10, 122, kYellow},
                        {10, 47, kGrey},  // zero levels drawn over the wave
                        {10, 100, kGrey},
                        {0, 47, kYellow},  // zero levels start at the band's left edge
                    });
}

TEST(WavePaintTest, MonoEightBitUsesTheWholeWaveArea) {
  ViewRig rig(kWidth, kHeight);
  rig.Load(MakeInfo(1, 8, 7500, 100, 402), Columns(402, 1, {0, 255}), Name("a"));
  rig.Paint();
  ExpectPixels(rig, {
                        {10, 22, kBlack},
                        {10, 23, kYellow},
                        {10, 122, kYellow},
                        {10, 73, kGrey},  // the one zero level
                        {10, 47, kYellow},
                        {10, 100, kYellow},
                    });
}

TEST(WavePaintTest, ActiveRangeColoursTheWaveAndTheChannelDivider) {
  ViewRig rig(kWidth, kHeight);
  rig.Load(MakeInfo(2, 16, 7500, 100, 402), Columns(402, 2, {-1000, 1000, -1000, 1000}), Name("a"));
  // Kinds that are not drawn, so that the range's edges stay visible: columns 50 and 150.
  rig.source.AddDivider(DIV_SelectStart, 100);
  rig.source.AddDivider(DIV_SelectEnd, 300);
  rig.Paint();
  // Each column strokes rows 48 -> 46 (row 47 is the zero level).
  ExpectPixels(rig, {
                        {49, 48, kOlive},
                        {50, 48, kYellow},
                        {100, 48, kYellow},
                        {150, 48, kYellow},
                        {151, 48, kOlive},
                        {20, 101, kOlive},
                        {100, 101, kYellow},
                        {100, 47, kGrey},
                        {100, 45, kBlack},
                        {20, 71, kGrey},
                        {47, 71, kGrey},
                        {50, 71, kLightGrey},
                        {149, 71, kLightGrey},
                        {151, 71, kGrey},
                        {198, 71, kGrey},
                    });
  // Pieces end before their end points: the columns before each piece's end stay dark.
  EXPECT_EQ(rig.At(49, 71), kBlack);
  EXPECT_EQ(rig.At(150, 71), kBlack);
}

TEST(WavePaintTest, RangeBeyondTheViewMakesItAllActiveOrAllInactive) {
  ViewRig rig(kWidth, kHeight);
  rig.Load(MakeInfo(2, 16, 7500, 100, 402), Columns(402, 2, {-1000, 1000, -1000, 1000}), Name("a"));
  rig.source.AddDivider(DIV_Start, 0);
  rig.source.AddDivider(DIV_End, 1000);
  rig.Paint();
  EXPECT_EQ(rig.At(199, 48), kYellow);
  EXPECT_EQ(rig.At(120, 71), kLightGrey);
  rig.source.dividers.clear();
  rig.source.AddDivider(DIV_Start, 500);
  rig.source.AddDivider(DIV_End, 600);
  rig.Paint();
  EXPECT_EQ(rig.At(120, 48), kOlive);
  EXPECT_EQ(rig.At(120, 71), kGrey);
}

TEST(WavePaintTest, MonoHasNoChannelDivider) {
  ViewRig rig(kWidth, kHeight);
  rig.Load(MakeInfo(1, 16, 7500, 100, 402), Columns(402, 1, {-1000, 1000}), Name("a"));
  rig.source.AddDivider(DIV_Start, 0);
  rig.source.AddDivider(DIV_End, 402);
  rig.Paint();
  ExpectPixels(rig, {
                        {100, 71, kYellow},  // the quiet mono wave lies around row 73
                        {100, 60, kBlack},
                        {100, 73, kGrey},
                    });
}

TEST(WavePaintTest, MoreThanTwoChannelsShowTheFirstTwo) {
  ViewRig rig(kWidth, kHeight);
  rig.Load(MakeInfo(3, 16, 7500, 100, 402),
           Columns(402, 3, {-32768, 32767, -10, 10, -32768, 32767}), Name("a"));
  rig.Paint();
  ExpectPixels(rig, {
                        {10, 23, kYellow},
                        {10, 80, kBlack},  // the second band is quiet
                        {10, 100, kGrey},
                    });
}

TEST(WavePaintTest, PartialLastColumnIsDrawnWithItsRecords) {
  ViewRig rig(kWidth, kHeight);
  // Zoom 2: P = 3, 401 full columns and a last one of 2 records, scrolled fully right.
  std::vector<std::int32_t> values(1203, 0);
  values.push_back(-32768);
  values.push_back(32767);
  rig.Load(MakeInfo(1, 16, 7500, 100, 1205), values, Name("a"));
  ASSERT_EQ(rig.view.PutCurrentZoom(2), com::S_OK);
  rig.view.OnHScroll(win::SB_RIGHT);
  ASSERT_EQ(rig.view.ScrollPosition(), 202);
  rig.Paint();
  EXPECT_EQ(rig.At(199, 30), kYellow);
  EXPECT_EQ(rig.At(198, 30), kBlack);
}

TEST(WavePaintTest, WaveEndsWithTheFile) {
  ViewRig rig(kWidth, kHeight);
  rig.Load(MakeInfo(1, 16, 7500, 100, 50), Columns(50, 1, {-32768, 32767}), Name("a"));
  rig.Paint();
  auto yellowIn = [&](int x) {
    int n = 0;
    for (int y = 23; y < 123; ++y) n += rig.At(x, y) == kYellow ? 1 : 0;
    return n;
  };
  EXPECT_GT(yellowIn(40), 40);  // one record per column: steep joins between columns
  EXPECT_EQ(yellowIn(50), 0);
  EXPECT_EQ(yellowIn(60), 0);
  EXPECT_EQ(rig.At(60, 73), kGrey);  // zero level and scale still span the view
}

TEST(WavePaintTest, NothingLoadedShowsGreyAndAnUnlabelledScale) {
  ViewRig rig(kWidth, kHeight);
  rig.Paint();
  ExpectPixels(rig, {
                        {100, 60, kGrey},
                        {100, 135, kGrey},
                        {100, 10, kLightGrey},
                        {100, 20, 0xC80000u},  // base line
                    });
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < kWidth; ++x) ASSERT_NE(rig.At(x, y), 0xFF0000u) << x << "," << y;
}

TEST(WavePaintTest, UnreadablePeakFileLeavesTheWindowAndIsNotRetried) {
  ViewRig rig(kWidth, kHeight);
  rig.source.info = MakeInfo(1, 16, 7500, 100, 402);
  rig.source.peakPath = std::string(TEST_DATA_DIR) + "/" + Name("missing");
  std::filesystem::remove(rig.source.peakPath);
  rig.source.loaded = true;
  rig.view.Reset();
  gdi::DeviceContext(rig.window.surface)
      .FillRect(gdi::RECT{0, 0, kWidth, kHeight}, gdi::Brush(0x123456));
  rig.Paint();
  EXPECT_EQ(rig.At(100, 73), 0x123456u);
  testing::WritePeakFile(Name("missing"), rig.source.info, Columns(402, 1, {-1, 1}));
  rig.Paint();
  EXPECT_EQ(rig.At(100, 73), 0x123456u);
  rig.view.ClosePeakFile();  // a new load releases the handle
  rig.Paint();
  EXPECT_EQ(rig.At(100, 73), kGrey);
}

TEST(WavePaintTest, ColourPutsShowAtTheNextPaint) {
  ViewRig rig(kWidth, kHeight);
  rig.Load(MakeInfo(1, 16, 7500, 100, 402), Columns(402, 1, {-32768, 32767}), Name("a"));
  rig.Paint();
  rig.view.PutColour(ViewColour::Wave, 0x0000FF);
  rig.view.PutColour(ViewColour::WaveBg, 0x404040);
  EXPECT_EQ(rig.view.GetColour(ViewColour::Wave), 0x0000FFu);
  EXPECT_EQ(rig.At(10, 30), kYellow);
  EXPECT_EQ(rig.At(10, 22), kBlack);
  rig.Paint();
  EXPECT_EQ(rig.At(10, 30), 0x0000FFu);
  EXPECT_EQ(rig.At(10, 22), 0x404040u);
}

TEST(WavePaintTest, QuickRepaintBeforeTheFirstFullPaintShowsTheBackground) {
  ViewRig rig(kWidth, kHeight);
  rig.Load(MakeInfo(1, 16, 7500, 100, 402), Columns(402, 1, {-32768, 32767}), Name("a"));
  gdi::DeviceContext(rig.window.surface)
      .FillRect(gdi::RECT{0, 0, kWidth, kHeight}, gdi::Brush(0x123456));
  rig.view.QuickRepaint();
  ExpectPixels(rig, {
                        {10, 30, kBlack},
                        {10, 5, kBlack},
                        {10, 130, 0x123456u},  // the scroll bar strip is not the view's
                    });
}

}  // namespace
}  // namespace audioedit::view
