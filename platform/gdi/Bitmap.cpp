#include "platform/gdi/Bitmap.h"

#include <utility>

namespace gdi {

Bitmap::Bitmap(int width, int height) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      pixels_(std::move(other.pixels_)) {
  other.pixels_.clear();
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    pixels_ = std::move(other.pixels_);
    other.pixels_.clear();
  }
  return *this;
}

COLORREF Bitmap::GetPixel(int x, int y) const {
  if (!Bounds().Contains(x, y)) return CLR_INVALID;
  return FromPixel(Row(y)[x]);
}

void Bitmap::SetPixel(int x, int y, COLORREF colour) {
  if (!Bounds().Contains(x, y)) return;
  Row(y)[x] = ToPixel(colour);
}

}  // namespace gdi
