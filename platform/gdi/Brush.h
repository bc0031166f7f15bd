// A solid brush, and the stock brushes of the drawing layer.
//
// Brushes are small values (see Pen.h); FillRect takes the brush to use directly.
#pragma once

#include "platform/gdi/Types.h"

namespace gdi {

class Brush {
 public:
  constexpr Brush() = default;
  explicit constexpr Brush(COLORREF colour) : colour_(colour) {}

  constexpr COLORREF Colour() const { return colour_; }
  friend constexpr bool operator==(const Brush&, const Brush&) = default;

 private:
  COLORREF colour_ = 0x00FFFFFFu;  // white, the default brush of a new context
};

enum StockObject : int {
  WHITE_BRUSH = 0,
  LTGRAY_BRUSH = 1,
  GRAY_BRUSH = 2,
  DKGRAY_BRUSH = 3,
  BLACK_BRUSH = 4,
};

// The stock brushes: white, 0xC0C0C0, 0x808080, 0x404040, black. Other values give white.
constexpr Brush GetStockBrush(StockObject which) {
  switch (which) {
    case LTGRAY_BRUSH:
      return Brush(RGB(0xC0, 0xC0, 0xC0));
    case GRAY_BRUSH:
      return Brush(RGB(0x80, 0x80, 0x80));
    case DKGRAY_BRUSH:
      return Brush(RGB(0x40, 0x40, 0x40));
    case BLACK_BRUSH:
      return Brush(RGB(0, 0, 0));
    case WHITE_BRUSH:
      break;
  }
  return Brush(RGB(0xFF, 0xFF, 0xFF));
}

}  // namespace gdi
