// A solid pen: a colour and a width in pixels.
//
// Width w covers, across the line, the pixels from -w/2 to -w/2 + w - 1 around the
// Bresenham pixel (integer division): width 1 covers the pixel itself, width 2 the pixel and
// the one to its left (vertical lines) or above it (horizontal lines), width 3 one on each
// side. So a width-2 vertical line at x fills columns x - 1 and x, centred on the boundary
// between them, like an 8-pixel handle spanning x - 4 .. x + 3.
//
// Pens are small values; a device context keeps a copy of the pen selected into it, so a
// pen may be replaced or destroyed at any time without touching a context.
#pragma once

#include "platform/gdi/Types.h"

namespace gdi {

class Pen {
 public:
  constexpr Pen() = default;
  constexpr Pen(int width, COLORREF colour) : width_(width < 1 ? 1 : width), colour_(colour) {}

  constexpr int Width() const { return width_; }
  constexpr COLORREF Colour() const { return colour_; }
  friend constexpr bool operator==(const Pen&, const Pen&) = default;

 private:
  int width_ = 1;
  COLORREF colour_ = 0;  // black, the default pen of a new context
};

}  // namespace gdi
