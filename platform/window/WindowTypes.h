// Scalar types, rectangles and message numbers of the window layer. The values are the ones
// window procedures have always seen, so code handling them reads as it would anywhere else.
#pragma once

#include <cstdint>

namespace win {

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using TimerId = std::uintptr_t;

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// The smallest rectangle holding both (an empty rectangle adds nothing).
constexpr Rect UnionRect(const Rect& a, const Rect& b) {
  if (a.right <= a.left || a.bottom <= a.top) return b;
  if (b.right <= b.left || b.bottom <= b.top) return a;
  return Rect{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
              a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

constexpr WPARAM MakeWParam(unsigned low, unsigned high) {
  return static_cast<WPARAM>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
constexpr LPARAM MakeLParam(unsigned low, unsigned high) {
  return static_cast<LPARAM>(static_cast<std::int32_t>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16)));
}
constexpr unsigned LowWord(std::uintptr_t v) { return static_cast<unsigned>(v & 0xFFFFu); }
constexpr unsigned HighWord(std::uintptr_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFFu); }

// Client coordinates of a mouse message: the low and high words read as signed 16-bit values.
constexpr Point PointFromLParam(LPARAM lParam) {
  const auto bits = static_cast<std::uint32_t>(lParam);
  return Point{static_cast<std::int16_t>(bits & 0xFFFFu), static_cast<std::int16_t>(bits >> 16)};
}
constexpr LPARAM LParamFromPoint(Point p) {
  return MakeLParam(static_cast<unsigned>(p.x), static_cast<unsigned>(p.y));
}

// Messages.
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SIZE = 0x0005;       // lParam: MakeLParam(width, height)
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_TIMER = 0x0113;      // wParam: timer id
inline constexpr UINT WM_HSCROLL = 0x0114;    // wParam: MakeWParam(request, thumb position)
inline constexpr UINT WM_MOUSEMOVE = 0x0200;  // lParam: MakeLParam(x, y)
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_APP = 0x8000;

// Key state of mouse messages (wParam).
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;

// Hit-test code of WM_SETCURSOR (low word of lParam; the high word is the mouse message).
inline constexpr unsigned HTCLIENT = 1;

// The screen point of a WM_CONTEXTMENU that came from the keyboard: (-1, -1).
inline constexpr LPARAM kKeyboardContextMenu = MakeLParam(0xFFFFu, 0xFFFFu);

// Cursor shapes a window can show over its client area.
enum class CursorShape { kArrow, kSizeWE };

// Requests of a horizontal scroll bar (low word of WM_HSCROLL's wParam).
inline constexpr unsigned SB_LINELEFT = 0;
inline constexpr unsigned SB_LINERIGHT = 1;
inline constexpr unsigned SB_PAGELEFT = 2;
inline constexpr unsigned SB_PAGERIGHT = 3;
inline constexpr unsigned SB_THUMBPOSITION = 4;
inline constexpr unsigned SB_THUMBTRACK = 5;
inline constexpr unsigned SB_LEFT = 6;
inline constexpr unsigned SB_RIGHT = 7;
inline constexpr unsigned SB_ENDSCROLL = 8;

}  // namespace win
