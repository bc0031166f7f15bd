#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/gdi/BitmapFont.h"

namespace gdi {
namespace {

constexpr std::uint32_t kPixelMask = 0x00FFFFFFu;

}  // namespace

Bitmap* DeviceContext::SelectBitmap(Bitmap* bitmap) {
  Bitmap* previous = bitmap_;
  bitmap_ = bitmap;
  return previous;
}

Pen DeviceContext::SelectPen(const Pen& pen) {
  Pen previous = pen_;
  pen_ = pen;
  return previous;
}

Brush DeviceContext::SelectBrush(const Brush& brush) {
  Brush previous = brush_;
  brush_ = brush;
  return previous;
}

int DeviceContext::SetROP2(int mode) {
  const int previous = rop2_;
  rop2_ = mode == R2_NOT ? R2_NOT : R2_COPYPEN;
  return previous;
}

COLORREF DeviceContext::SetTextColor(COLORREF colour) {
  return std::exchange(text_colour_, colour & kPixelMask);
}

COLORREF DeviceContext::SetBkColor(COLORREF colour) {
  return std::exchange(bk_colour_, colour & kPixelMask);
}

int DeviceContext::SetBkMode(int mode) {
  const int previous = bk_mode_;
  bk_mode_ = mode == TRANSPARENT ? TRANSPARENT : OPAQUE;
  return previous;
}

void DeviceContext::SelectClipRect(const RECT* clip) {
  if (clip == nullptr) {
    clip_.reset();
  } else {
    clip_ = *clip;
  }
}

POINT DeviceContext::MoveTo(int x, int y) { return std::exchange(position_, POINT{x, y}); }

RECT DeviceContext::DrawableArea() const {
  if (bitmap_ == nullptr) return RECT{};
  return clip_ ? Intersect(bitmap_->Bounds(), *clip_) : bitmap_->Bounds();
}

void DeviceContext::PlotPen(int x, int y, const RECT& area) {
  if (!area.Contains(x, y)) return;
  std::uint32_t& p = bitmap_->Row(y)[x];
  p = rop2_ == R2_NOT ? (~p & kPixelMask) : ToPixel(pen_.Colour());
}

void DeviceContext::LineTo(int x, int y) {
  const POINT from = std::exchange(position_, POINT{x, y});
  const RECT area = DrawableArea();
  if (area.IsEmpty()) return;

  // Bresenham over 64-bit deltas; the end point is not drawn.
  std::int64_t cx = from.x;
  std::int64_t cy = from.y;
  const std::int64_t dx = std::llabs(static_cast<std::int64_t>(x) - cx);
  const std::int64_t dy = -std::llabs(static_cast<std::int64_t>(y) - cy);
  const int sx = cx < x ? 1 : -1;
  const int sy = cy < y ? 1 : -1;
  const bool x_major = dx >= -dy;
  const int width = pen_.Width();
  const int before = width / 2;

  // Nothing to do when the line with its width lies wholly outside the drawable area.
  const std::int64_t pad = width;
  if (std::max<std::int64_t>(cx, x) + pad < area.left ||
      std::min<std::int64_t>(cx, x) - pad >= area.right ||
      std::max<std::int64_t>(cy, y) + pad < area.top ||
      std::min<std::int64_t>(cy, y) - pad >= area.bottom) {
    return;
  }

  std::int64_t err = dx + dy;
  while (cx != x || cy != y) {
    const int px = static_cast<int>(cx);
    const int py = static_cast<int>(cy);
    for (int i = 0; i < width; ++i) {
      if (x_major) {
        PlotPen(px, py - before + i, area);
      } else {
        PlotPen(px - before + i, py, area);
      }
    }
    const std::int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      cx += sx;
    }
    if (e2 <= dx) {
      err += dx;
      cy += sy;
    }
  }
}

void DeviceContext::FillRect(const RECT& rect, const Brush& brush) {
  const RECT r = Intersect(rect, DrawableArea());
  if (r.IsEmpty()) return;
  const std::uint32_t pixel = ToPixel(brush.Colour());
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint32_t* row = bitmap_->Row(y);
    std::fill(row + r.left, row + r.right, pixel);
  }
}

void DeviceContext::TextOut(int x, int y, std::string_view text) {
  TextOutClipped(x, y, DrawableArea(), text);
}

void DeviceContext::TextOutClipped(int x, int y, const RECT& clip, std::string_view text) {
  const RECT area = Intersect(clip, DrawableArea());
  if (area.IsEmpty()) return;
  if (bk_mode_ == OPAQUE) {
    const SIZE extent = BitmapFont::Extent(text);
    const RECT box = Intersect(RECT{x, y, x + extent.cx, y + extent.cy}, area);
    const std::uint32_t bk = ToPixel(bk_colour_);
    for (int row = box.top; row < box.bottom; ++row) {
      std::fill(bitmap_->Row(row) + box.left, bitmap_->Row(row) + box.right, bk);
    }
  }
  const std::uint32_t ink = ToPixel(text_colour_);
  BitmapFont::ForEachPixel(text, x, y, [&](int px, int py) {
    if (area.Contains(px, py)) bitmap_->Row(py)[px] = ink;
  });
}

SIZE DeviceContext::GetTextExtent(std::string_view text) const {
  return BitmapFont::Extent(text);
}

bool DeviceContext::BitBlt(int x, int y, int w, int h, const DeviceContext& source, int sx,
                           int sy) {
  if (bitmap_ == nullptr || source.bitmap_ == nullptr) return false;
  // Destination rectangle limited by the destination's drawable area and by the source.
  RECT dst = Intersect(RECT{x, y, x + w, y + h}, DrawableArea());
  const RECT src_in_dst{x - sx, y - sy, x - sx + source.bitmap_->Width(),
                        y - sy + source.bitmap_->Height()};
  dst = Intersect(dst, src_in_dst);
  if (dst.IsEmpty()) return true;

  const int columns = dst.Width();
  const bool same = bitmap_ == source.bitmap_;
  std::vector<std::uint32_t> scratch;
  if (same) {
    const std::span<const std::uint32_t> all = source.bitmap_->Pixels();
    scratch.assign(all.begin(), all.end());
  }
  const int stride = source.bitmap_->Width();
  for (int row = dst.top; row < dst.bottom; ++row) {
    const int src_row = row - y + sy;
    const int src_col = dst.left - x + sx;
    const std::uint32_t* from =
        same ? scratch.data() + static_cast<std::size_t>(src_row) * stride + src_col
             : source.bitmap_->Row(src_row) + src_col;
    std::memcpy(bitmap_->Row(row) + dst.left, from, sizeof(std::uint32_t) * columns);
  }
  return true;
}

COLORREF DeviceContext::GetPixel(int x, int y) const {
  return bitmap_ == nullptr ? CLR_INVALID : bitmap_->GetPixel(x, y);
}

}  // namespace gdi
