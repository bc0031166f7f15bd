#include "platform/gdi/PngWriter.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace gdi {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

struct PngWriteState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngWriteState() { png_destroy_write_struct(&png, &info); }
};

void SetError(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
}

// libpng reports errors through longjmp; the rows are prepared before setjmp so that no
// object with a destructor is created between setjmp and a possible longjmp.
bool Encode(PngWriteState& state, std::FILE* file, const Bitmap& bitmap,
            std::vector<png_bytep>& rows) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_init_io(state.png, file);
  png_set_IHDR(state.png, state.info, static_cast<png_uint_32>(bitmap.Width()),
               static_cast<png_uint_32>(bitmap.Height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(state.png, state.info);
  png_write_image(state.png, rows.data());
  png_write_end(state.png, nullptr);
  return true;
}

}  // namespace

bool WritePng(const Bitmap& bitmap, const std::string& path, std::string* error) {
  if (bitmap.Width() == 0 || bitmap.Height() == 0) {
    SetError(error, "cannot write '" + path + "': the image is empty");
    return false;
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    SetError(error, "cannot create '" + path + "': " + std::strerror(errno));
    return false;
  }
  // 0x00RRGGBB pixels to R, G, B bytes.
  const std::size_t width = static_cast<std::size_t>(bitmap.Width());
  std::vector<png_byte> bytes(width * 3 * static_cast<std::size_t>(bitmap.Height()));
  std::vector<png_bytep> rows(static_cast<std::size_t>(bitmap.Height()));
  for (int y = 0; y < bitmap.Height(); ++y) {
    png_bytep out = bytes.data() + static_cast<std::size_t>(y) * width * 3;
    rows[static_cast<std::size_t>(y)] = out;
    const std::uint32_t* in = bitmap.Row(y);
    for (std::size_t x = 0; x < width; ++x) {
      out[3 * x] = static_cast<png_byte>(in[x] >> 16);
      out[3 * x + 1] = static_cast<png_byte>(in[x] >> 8);
      out[3 * x + 2] = static_cast<png_byte>(in[x]);
    }
  }
  PngWriteState state;
  state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (state.png != nullptr) state.info = png_create_info_struct(state.png);
  if (state.info == nullptr || !Encode(state, file.get(), bitmap, rows)) {
    SetError(error, "cannot write PNG data to '" + path + "'");
    return false;
  }
  if (std::fclose(file.release()) != 0) {
    SetError(error, "cannot finish writing '" + path + "': " + std::strerror(errno));
    return false;
  }
  return true;
}

}  // namespace gdi
