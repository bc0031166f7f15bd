// A 32-bit raster: width × height pixels, rows top-down, each pixel 0x00RRGGBB.
//
// A new bitmap is black. Bitmaps own their pixels, move but do not copy. A device context
// draws on a bitmap selected into it (DeviceContext::SelectBitmap); the bitmap must outlive
// that selection.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/Types.h"

namespace gdi {

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height);  // negative sizes give an empty bitmap
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  Bitmap(Bitmap&&) noexcept;
  Bitmap& operator=(Bitmap&&) noexcept;
  ~Bitmap() = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  RECT Bounds() const { return RECT{0, 0, width_, height_}; }

  // CLR_INVALID outside the bitmap.
  COLORREF GetPixel(int x, int y) const;
  // Ignored outside the bitmap.
  void SetPixel(int x, int y, COLORREF colour);

  // Raw pixels, 0x00RRGGBB, row y at offset y × Width().
  std::span<std::uint32_t> Pixels() { return pixels_; }
  std::span<const std::uint32_t> Pixels() const { return pixels_; }
  std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace gdi
