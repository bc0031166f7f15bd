// Scalar types of the drawing layer: colour references, points, sizes and rectangles.
//
// Colours cross the API as COLORREF values 0x00BBGGRR (red in the low byte), exactly as the
// control's colour properties hold them. Bitmaps store pixels as 0x00RRGGBB, the layout that
// PNG writers and toolkit images (32-bit RGB) expect; the conversion happens at the API
// (ToPixel / FromPixel), never in calling code.
#pragma once

#include <algorithm>
#include <cstdint>

namespace gdi {

using COLORREF = std::uint32_t;

inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
         (static_cast<COLORREF>(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// COLORREF 0x00BBGGRR <-> bitmap pixel 0x00RRGGBB (the swap is its own inverse).
constexpr std::uint32_t ToPixel(COLORREF c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF FromPixel(std::uint32_t p) { return ToPixel(p); }

struct POINT {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
  int cx = 0;
  int cy = 0;
  friend constexpr bool operator==(const SIZE&, const SIZE&) = default;
};

// A rectangle whose right and bottom edges are excluded, as everywhere in this layer.
struct RECT {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  constexpr bool Contains(int x, int y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  friend constexpr bool operator==(const RECT&, const RECT&) = default;
};

constexpr RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.IsEmpty()) return RECT{};
  return r;
}

}  // namespace gdi
