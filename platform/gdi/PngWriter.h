// Writes a bitmap as an 8-bit RGB PNG file.
#pragma once

#include <string>

#include "platform/gdi/Bitmap.h"

namespace gdi {

// True on success; otherwise false with a one-line reason naming the file in *error.
bool WritePng(const Bitmap& bitmap, const std::string& path, std::string* error);

}  // namespace gdi
