// The drawing layer's one font: a small fixed bitmap font for time texts.
//
// Glyphs are 7 pixels high (digits 5 wide) in a cell 9 pixels high: one blank row above the
// glyph, one below. Each character advances by its glyph width plus one blank column:
// digits, '-' and '?' by 6, '.' and ':' by 2, space by 4. Characters without a glyph are
// drawn as '?'. Text extents are the sum of the advances by the cell height.
#pragma once

#include <string_view>

#include "platform/gdi/Types.h"

namespace gdi {

class BitmapFont {
 public:
  static constexpr int kCellHeight = 9;
  static constexpr int kGlyphTop = 1;  // first glyph row inside the cell
  static constexpr int kGlyphRows = 7;

  static int Advance(char c);
  static SIZE Extent(std::string_view text);

  // Calls plot(x, y) for every set pixel of `text` drawn with its cell's top-left at (x, y).
  template <class Plot>
  static void ForEachPixel(std::string_view text, int x, int y, Plot&& plot) {
    for (char c : text) {
      const char* const* rows = GlyphRows(c);
      const int width = Advance(c) - 1;
      for (int r = 0; r < kGlyphRows; ++r) {
        for (int col = 0; col < width; ++col) {
          if (rows[r][col] == '#') plot(x + col, y + kGlyphTop + r);
        }
      }
      x += width + 1;
    }
  }

 private:
  // Seven rows of '#' (set) and '.' (clear), each as wide as the glyph.
  static const char* const* GlyphRows(char c);
};

}  // namespace gdi
