// An off-screen drawing surface: a memory device context with its own bitmap selected, the
// pair that CreateCompatibleDC and CreateCompatibleBitmap make (and both deletes release)
// in one object. The bitmap is black when created.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"

namespace gdi {

class MemoryDC {
 public:
  MemoryDC(int width, int height) : bitmap_(width, height) { dc_.SelectBitmap(&bitmap_); }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  ~MemoryDC() { dc_.SelectBitmap(nullptr); }

  DeviceContext& Dc() { return dc_; }
  const DeviceContext& Dc() const { return dc_; }
  Bitmap& Surface() { return bitmap_; }
  const Bitmap& Surface() const { return bitmap_; }
  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }

 private:
  Bitmap bitmap_;
  DeviceContext dc_;
};

}  // namespace gdi
