// Lines, pens, raster operations, rectangles, clipping and copies on small bitmaps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/MemoryDC.h"

namespace gdi {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The pixels of a bitmap as rows of characters: '.' for `background`, '#' otherwise.
std::vector<std::string> Picture(const Bitmap& b, COLORREF background = kBlack) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int x = 0; x < b.Width(); ++x) row += b.GetPixel(x, y) == background ? '.' : '#';
    rows.push_back(row);
  }
  return rows;
}

TEST(ColourTest, ColourReferencesAreStoredAsRgbPixels) {
  Bitmap b(2, 1);
  b.SetPixel(0, 0, RGB(1, 2, 3));
  EXPECT_EQ(b.Pixels()[0], 0x00010203u);
  EXPECT_EQ(b.GetPixel(0, 0), 0x00030201u);
  EXPECT_EQ(b.GetPixel(2, 0), CLR_INVALID);
  EXPECT_EQ(b.GetPixel(-1, 0), CLR_INVALID);
}

TEST(LineTest, EndPointIsNotDrawn) {
  MemoryDC m(6, 3);
  m.Dc().SelectPen(Pen(1, kRed));
  m.Dc().MoveTo(1, 1);
  m.Dc().LineTo(4, 1);
  EXPECT_EQ(Picture(m.Surface()), (std::vector<std::string>{"......", ".###..", "......"}));
  EXPECT_EQ(m.Dc().GetCurrentPosition(), (POINT{4, 1}));
  EXPECT_EQ(m.Surface().GetPixel(1, 1), kRed);
}

TEST(LineTest, ZeroLengthLineDrawsNothing) {
  MemoryDC m(3, 3);
  m.Dc().SelectPen(Pen(2, kRed));
  m.Dc().MoveTo(1, 1);
  m.Dc().LineTo(1, 1);
  EXPECT_EQ(Picture(m.Surface()), (std::vector<std::string>{"...", "...", "..."}));
}

TEST(LineTest, DiagonalAndSteepLinesFollowBresenham) {
  MemoryDC m(5, 5);
  m.Dc().SelectPen(Pen(1, kWhite));
  m.Dc().MoveTo(0, 0);
  m.Dc().LineTo(4, 4);
  m.Dc().MoveTo(4, 0);
  m.Dc().LineTo(3, 4);  // steep, drawn upwards-in-x
  EXPECT_EQ(Picture(m.Surface()),
            (std::vector<std::string>{"#...#", ".#..#", "..##.", "...#.", "....."}));
}

TEST(LineTest, UpwardLineStopsBeforeItsEnd) {
  MemoryDC m(1, 6);
  m.Dc().SelectPen(Pen(1, kWhite));
  m.Dc().MoveTo(0, 5);
  m.Dc().LineTo(0, 1);
  EXPECT_EQ(Picture(m.Surface()), (std::vector<std::string>{".", ".", "#", "#", "#", "#"}));
}

TEST(WidePenTest, WidthTwoVerticalCoversTheColumnAndItsLeftNeighbour) {
  MemoryDC m(6, 4);
  m.Dc().SelectPen(Pen(2, kWhite));
  m.Dc().MoveTo(3, 0);
  m.Dc().LineTo(3, 3);
  EXPECT_EQ(Picture(m.Surface()),
            (std::vector<std::string>{"..##..", "..##..", "..##..", "......"}));
}

TEST(WidePenTest, WidthTwoHorizontalCoversTheRowAndTheOneAbove) {
  MemoryDC m(4, 4);
  m.Dc().SelectPen(Pen(2, kWhite));
  m.Dc().MoveTo(0, 2);
  m.Dc().LineTo(3, 2);
  EXPECT_EQ(Picture(m.Surface()), (std::vector<std::string>{"....", "###.", "###.", "...."}));
}

TEST(WidePenTest, WidthThreeIsCentred) {
  MemoryDC m(5, 2);
  m.Dc().SelectPen(Pen(3, kWhite));
  m.Dc().MoveTo(2, 0);
  m.Dc().LineTo(2, 2);
  EXPECT_EQ(Picture(m.Surface()), (std::vector<std::string>{".###.", ".###."}));
}

TEST(RasterOpTest, NotInvertsTheDestinationWhateverThePenColour) {
  MemoryDC m(4, 3);
  m.Dc().FillRect(RECT{0, 0, 4, 1}, Brush(RGB(255, 255, 0)));  // yellow top row
  m.Dc().SelectPen(Pen(2, RGB(0, 255, 0)));
  EXPECT_EQ(m.Dc().SetROP2(R2_NOT), R2_COPYPEN);
  m.Dc().MoveTo(2, 0);
  m.Dc().LineTo(2, 3);
  EXPECT_EQ(m.Surface().GetPixel(1, 0), RGB(0, 0, 255));  // yellow -> blue
  EXPECT_EQ(m.Surface().GetPixel(2, 1), kWhite);          // black -> white
  EXPECT_EQ(m.Surface().GetPixel(0, 1), kBlack);
  EXPECT_EQ(m.Surface().GetPixel(3, 1), kBlack);
  // A second, horizontal width-2 line over rows 1 and 2 inverts each of its pixels once.
  m.Dc().MoveTo(0, 2);
  m.Dc().LineTo(4, 2);
  EXPECT_EQ(Picture(m.Surface(), kBlack), (std::vector<std::string>{"####", "#..#", "#..#"}));
}

TEST(FillRectTest, RightAndBottomEdgesAreExcluded) {
  MemoryDC m(5, 4);
  m.Dc().FillRect(RECT{1, 1, 4, 3}, Brush(kRed));
  EXPECT_EQ(Picture(m.Surface()), (std::vector<std::string>{".....", ".###.", ".###.", "....."}));
  m.Dc().SetROP2(R2_NOT);  // not used by fills
  m.Dc().FillRect(RECT{1, 1, 2, 2}, Brush(kRed));
  EXPECT_EQ(m.Surface().GetPixel(1, 1), kRed);
}

TEST(FillRectTest, StockGreyBrush) {
  MemoryDC m(1, 1);
  m.Dc().FillRect(RECT{0, 0, 1, 1}, GetStockBrush(GRAY_BRUSH));
  EXPECT_EQ(m.Surface().GetPixel(0, 0), 0x00808080u);
}

TEST(ClipTest, DrawingStaysInsideTheClipRectangle) {
  MemoryDC m(5, 5);
  const RECT clip{1, 1, 4, 4};
  m.Dc().SelectClipRect(&clip);
  m.Dc().FillRect(RECT{0, 0, 5, 5}, Brush(kWhite));
  m.Dc().SelectPen(Pen(1, kRed));
  m.Dc().MoveTo(0, 0);
  m.Dc().LineTo(5, 5);
  EXPECT_EQ(Picture(m.Surface()),
            (std::vector<std::string>{".....", ".###.", ".###.", ".###.", "....."}));
  EXPECT_EQ(m.Surface().GetPixel(2, 2), kRed);
  m.Dc().SelectClipRect(nullptr);
  m.Dc().FillRect(RECT{0, 0, 1, 1}, Brush(kWhite));
  EXPECT_EQ(m.Surface().GetPixel(0, 0), kWhite);
}

TEST(ClipTest, LinesFarOutsideTheBitmapAreHarmless) {
  MemoryDC m(4, 4);
  m.Dc().SelectPen(Pen(2, kWhite));
  m.Dc().MoveTo(-2000000000, -5);
  m.Dc().LineTo(2000000000, -5);
  m.Dc().MoveTo(2, -100);
  m.Dc().LineTo(2, 100);
  EXPECT_EQ(Picture(m.Surface()), (std::vector<std::string>{".##.", ".##.", ".##.", ".##."}));
}

TEST(BitBltTest, CopiesARegionBetweenContexts) {
  MemoryDC src(4, 4);
  src.Dc().FillRect(RECT{1, 1, 3, 3}, Brush(kRed));
  MemoryDC dst(4, 4);
  EXPECT_TRUE(dst.Dc().BitBlt(2, 2, 4, 4, src.Dc(), 1, 1));
  EXPECT_EQ(Picture(dst.Surface()), (std::vector<std::string>{"....", "....", "..##", "..##"}));
  EXPECT_EQ(dst.Surface().GetPixel(3, 3), kRed);
}

TEST(BitBltTest, SourceOutsideItsBitmapLeavesTheDestination) {
  MemoryDC src(2, 2);
  src.Dc().FillRect(RECT{0, 0, 2, 2}, Brush(kWhite));
  MemoryDC dst(4, 1);
  EXPECT_TRUE(dst.Dc().BitBlt(0, 0, 4, 1, src.Dc(), -1, 0));
  EXPECT_EQ(Picture(dst.Surface()), (std::vector<std::string>{".##."}));
  DeviceContext empty;
  EXPECT_FALSE(dst.Dc().BitBlt(0, 0, 1, 1, empty, 0, 0));
}

TEST(BitBltTest, OverlappingCopyWithinOneBitmap) {
  MemoryDC m(4, 1);
  m.Surface().SetPixel(0, 0, kWhite);
  m.Surface().SetPixel(1, 0, kRed);
  EXPECT_TRUE(m.Dc().BitBlt(1, 0, 3, 1, m.Dc(), 0, 0));
  EXPECT_EQ(m.Surface().GetPixel(1, 0), kWhite);
  EXPECT_EQ(m.Surface().GetPixel(2, 0), kRed);
}

TEST(ContextTest, DefaultsAndSelectionsReturnThePrevious) {
  DeviceContext dc;
  EXPECT_EQ(dc.GetBitmap(), nullptr);
  EXPECT_EQ(dc.GetPen(), Pen(1, kBlack));
  EXPECT_EQ(dc.SelectPen(Pen(2, kRed)), Pen(1, kBlack));
  EXPECT_EQ(dc.SelectBrush(Brush(kRed)), Brush(kWhite));
  EXPECT_EQ(dc.SetTextColor(kRed), kBlack);
  EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
  EXPECT_EQ(dc.SetBkColor(kBlack), kWhite);
  dc.MoveTo(3, 4);
  dc.LineTo(5, 6);  // nothing selected: only the position moves
  EXPECT_EQ(dc.GetCurrentPosition(), (POINT{5, 6}));
  EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID);
}

}  // namespace
}  // namespace gdi

namespace gdi {
namespace {

// The usual incremental loop over all octants, end point excluded, as the reference.
std::vector<POINT> ReferenceLine(int x0, int y0, int x1, int y1) {
  std::vector<POINT> points;
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  while (x0 != x1 || y0 != y1) {
    points.push_back(POINT{x0, y0});
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  return points;
}

TEST(LineTest, MatchesTheIncrementalAlgorithmInEveryOctant) {
  unsigned seed = 12345;
  auto next = [&](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<unsigned>(range)) - 8;
  };
  for (int trial = 0; trial < 400; ++trial) {
    const int x0 = next(48), y0 = next(48), x1 = next(48), y1 = next(48);
    MemoryDC m(32, 32);
    m.Dc().SelectPen(Pen(1, kWhite));
    m.Dc().MoveTo(x0, y0);
    m.Dc().LineTo(x1, y1);
    MemoryDC ref(32, 32);
    for (const POINT& p : ReferenceLine(x0, y0, x1, y1)) ref.Surface().SetPixel(p.x, p.y, kWhite);
    ASSERT_EQ(Picture(m.Surface()), Picture(ref.Surface()))
        << "(" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ")";
  }
}

TEST(LineTest, VeryLongLinesCostOnlyTheirVisiblePart) {
  MemoryDC m(8, 8);
  m.Dc().SelectPen(Pen(2, kWhite));
  m.Dc().MoveTo(-2000000000, 3);
  m.Dc().LineTo(2000000000, 3);
  m.Dc().MoveTo(-2000000000, -2000000000);
  m.Dc().LineTo(2000000000, 2000000000);
  EXPECT_EQ(m.Surface().GetPixel(5, 3), kWhite);
  EXPECT_EQ(m.Surface().GetPixel(5, 5), kWhite);
  EXPECT_EQ(m.Surface().GetPixel(5, 4), kWhite);  // the diagonal's second row
  EXPECT_EQ(m.Surface().GetPixel(5, 6), kBlack);
}

}  // namespace
}  // namespace gdi
