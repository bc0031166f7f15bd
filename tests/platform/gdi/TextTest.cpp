// The built-in font: extents, glyph pixels, opaque and transparent backgrounds, clipping.
#include <gtest/gtest.h>

#include "platform/gdi/BitmapFont.h"
#include "platform/gdi/MemoryDC.h"

namespace gdi {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(0xE0, 0xE0, 0xE0);

int CountPixels(const Bitmap& b, COLORREF colour) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.GetPixel(x, y) == colour ? 1 : 0;
  return n;
}

TEST(TextExtentTest, DigitsAndSeparators) {
  DeviceContext dc;
  EXPECT_EQ(dc.GetTextExtent("0"), (SIZE{6, 9}));
  EXPECT_EQ(dc.GetTextExtent("00.00.00"), (SIZE{6 * 6 + 2 * 2, 9}));
  EXPECT_EQ(dc.GetTextExtent("12:34:56"), (SIZE{40, 9}));
  EXPECT_EQ(dc.GetTextExtent(""), (SIZE{0, 9}));
}

TEST(TextTest, TransparentTextLeavesTheBackground) {
  MemoryDC m(12, 9);
  m.Dc().FillRect(RECT{0, 0, 12, 9}, Brush(kGrey));
  m.Dc().SetBkMode(TRANSPARENT);
  m.Dc().SetTextColor(kBlue);
  m.Dc().TextOut(0, 0, "1");
  // The glyph '1' has 10 set pixels; its top row is row 1 of the cell.
  EXPECT_EQ(CountPixels(m.Surface(), kBlue), 10);
  EXPECT_EQ(m.Surface().GetPixel(2, 1), kBlue);
  EXPECT_EQ(m.Surface().GetPixel(2, 0), kGrey);
  EXPECT_EQ(m.Surface().GetPixel(1, 7), kBlue);
  EXPECT_EQ(m.Surface().GetPixel(3, 7), kBlue);
}

TEST(TextTest, OpaqueTextFillsItsCell) {
  MemoryDC m(10, 12);
  m.Dc().SetBkMode(OPAQUE);
  m.Dc().SetBkColor(RGB(255, 255, 255));
  m.Dc().SetTextColor(RGB(255, 0, 0));
  m.Dc().TextOut(1, 2, ":");
  const int cell = 2 * 9;
  EXPECT_EQ(CountPixels(m.Surface(), RGB(255, 0, 0)), 2);
  EXPECT_EQ(CountPixels(m.Surface(), RGB(255, 255, 255)), cell - 2);
  EXPECT_EQ(m.Surface().GetPixel(1, 2 + 1 + 2), RGB(255, 0, 0));
  EXPECT_EQ(m.Surface().GetPixel(0, 2), RGB(0, 0, 0));
}

TEST(TextTest, ClippedTextStopsAtTheBox) {
  MemoryDC m(20, 9);
  m.Dc().SetTextColor(kBlue);
  m.Dc().SetBkMode(TRANSPARENT);
  m.Dc().TextOutClipped(0, 0, RECT{0, 0, 6, 9}, "88");
  EXPECT_EQ(CountPixels(m.Surface(), kBlue), 17);  // only the first '8'
}

TEST(TextTest, UnknownCharactersShowAsQuestionMarks) {
  EXPECT_EQ(BitmapFont::Advance('x'), BitmapFont::Advance('?'));
}

}  // namespace
}  // namespace gdi
