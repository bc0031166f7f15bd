// A device context: the drawing state (pen, brush, raster operation, text colours, clip
// rectangle, current position) over a bitmap selected into it.
//
// Conventions, as drawing code written for GDI expects them:
// - LineTo draws from the current position towards (x, y) with Bresenham's algorithm, no
//   anti-aliasing, and does not draw the end point; the end point becomes the current
//   position. A wide pen stamps its width around every pixel of the line (see Pen.h); each
//   covered pixel is changed once per line.
// - FillRect fills left <= x < right, top <= y < bottom with a brush; it ignores the raster
//   operation.
// - Raster operations: R2_COPYPEN writes the pen colour; R2_NOT inverts the destination
//   (each channel 255 - v), so of the pen only its width shows.
// - Text is drawn in the built-in BitmapFont with the text colour; in OPAQUE mode its cell
//   box is first filled with the background colour. Text ignores the raster operation.
// - Every drawing call is limited to the bitmap and to the clip rectangle, if one is set.
// - A new context has a black 1-pixel pen, a white brush, R2_COPYPEN, black text on an
//   opaque white background, the current position (0, 0), no clip rectangle and no bitmap
//   (drawing without a bitmap does nothing).
#pragma once

#include <optional>
#include <string_view>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/Types.h"

namespace gdi {

enum RasterOp2 : int {
  R2_NOT = 6,
  R2_COPYPEN = 13,
};

enum BackgroundMode : int {
  TRANSPARENT = 1,
  OPAQUE = 2,
};

class DeviceContext {
 public:
  DeviceContext() = default;  // a memory context with no bitmap selected
  explicit DeviceContext(Bitmap& surface) : bitmap_(&surface) {}
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;
  ~DeviceContext() = default;

  // Selection returns what was selected before, to be selected back by the caller.
  Bitmap* SelectBitmap(Bitmap* bitmap);
  Bitmap* GetBitmap() const { return bitmap_; }
  Pen SelectPen(const Pen& pen);
  const Pen& GetPen() const { return pen_; }
  Brush SelectBrush(const Brush& brush);
  const Brush& GetBrush() const { return brush_; }

  int SetROP2(int mode);  // R2_NOT or R2_COPYPEN; other values are taken as R2_COPYPEN
  int GetROP2() const { return rop2_; }
  COLORREF SetTextColor(COLORREF colour);
  COLORREF GetTextColor() const { return text_colour_; }
  COLORREF SetBkColor(COLORREF colour);
  COLORREF GetBkColor() const { return bk_colour_; }
  int SetBkMode(int mode);  // TRANSPARENT or OPAQUE
  int GetBkMode() const { return bk_mode_; }

  // Limits drawing to `clip` (in addition to the bitmap's bounds); nullptr removes the limit.
  void SelectClipRect(const RECT* clip);
  std::optional<RECT> GetClipRect() const { return clip_; }

  POINT MoveTo(int x, int y);  // returns the previous position
  POINT GetCurrentPosition() const { return position_; }
  void LineTo(int x, int y);
  void FillRect(const RECT& rect, const Brush& brush);

  void TextOut(int x, int y, std::string_view text);
  // TextOut limited to `clip` as well (the clipped variant of text output).
  void TextOutClipped(int x, int y, const RECT& clip, std::string_view text);
  SIZE GetTextExtent(std::string_view text) const;

  // Copies w × h pixels from `source` at (sx, sy) to (x, y) here (a plain source copy). Parts
  // outside the source bitmap are left unchanged. False when either side has no bitmap.
  bool BitBlt(int x, int y, int w, int h, const DeviceContext& source, int sx, int sy);

  COLORREF GetPixel(int x, int y) const;  // CLR_INVALID outside the bitmap

 private:
  RECT DrawableArea() const;  // bitmap bounds within the clip rectangle
  void PlotPen(int x, int y, const RECT& area);

  Bitmap* bitmap_ = nullptr;
  Pen pen_;
  Brush brush_;
  int rop2_ = R2_COPYPEN;
  COLORREF text_colour_ = RGB(0, 0, 0);
  COLORREF bk_colour_ = RGB(0xFF, 0xFF, 0xFF);
  int bk_mode_ = OPAQUE;
  std::optional<RECT> clip_;
  POINT position_;
};

}  // namespace gdi
