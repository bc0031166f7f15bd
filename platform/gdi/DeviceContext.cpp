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

// Bresenham's line in closed form: of the n = max(|dx|, |dy|) pixels before the end point,
// pixel i lies i steps along the major axis and floor((2 × minor × i + major) / (2 × major))
// steps along the minor axis (halves round away from the start), the same pixels as the
// usual incremental loop. Only the pixels whose major coordinate lies in the drawable area
// are visited, so a line's cost does not depend on how far it reaches outside.
void DeviceContext::LineTo(int x, int y) {
  const POINT from = std::exchange(position_, POINT{x, y});
  const RECT area = DrawableArea();
  if (area.IsEmpty()) return;

  const std::int64_t dx = static_cast<std::int64_t>(x) - from.x;
  const std::int64_t dy = static_cast<std::int64_t>(y) - from.y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
  const std::int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
  if (major == 0) return;
  const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t majorStart = xMajor ? from.x : from.y;
  const std::int64_t minorStart = xMajor ? from.y : from.x;

  // Steps whose major coordinate lies inside the area.
  const std::int64_t areaLow = xMajor ? area.left : area.top;
  const std::int64_t areaHigh = (xMajor ? area.right : area.bottom) - 1;
  std::int64_t first = majorStep > 0 ? areaLow - majorStart : majorStart - areaHigh;
  std::int64_t last = majorStep > 0 ? areaHigh - majorStart : majorStart - areaLow;
  first = std::max<std::int64_t>(first, 0);
  last = std::min<std::int64_t>(last, major - 1);

  const int width = pen_.Width();
  const int before = width / 2;
  const std::int64_t acrossLow = (xMajor ? area.top : area.left) - width;
  const std::int64_t acrossHigh = (xMajor ? area.bottom : area.right) + width;
  for (std::int64_t i = first; i <= last; ++i) {
    const __int128 numerator = static_cast<__int128>(2) * minor * i + major;
    const std::int64_t offset = static_cast<std::int64_t>(numerator / (2 * major));
    const std::int64_t m = majorStart + majorStep * i;
    const std::int64_t n = minorStart + minorStep * offset;
    if (n < acrossLow || n > acrossHigh) continue;
    for (int k = 0; k < width; ++k) {
      const int across = static_cast<int>(n) - before + k;
      if (xMajor) {
        PlotPen(static_cast<int>(m), across, area);
      } else {
        PlotPen(across, static_cast<int>(m), area);
      }
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

SIZE DeviceContext::GetTextExtent(std::string_view text) const { return BitmapFont::Extent(text); }

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
