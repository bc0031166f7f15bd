#include "platform/gdi/BitmapFont.h"

#include <array>
#include <string>

namespace gdi {
namespace {

struct Glyph {
  char ch;
  std::array<const char*, BitmapFont::kGlyphRows> rows;
};

// clang-format off
constexpr Glyph kGlyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'.', {".", ".", ".", ".", ".", ".", "#"}},
    {':', {".", ".", "#", ".", ".", "#", "."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {' ', {"...", "...", "...", "...", "...", "...", "..."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
};
// clang-format on

const Glyph& Find(char c) {
  for (const Glyph& g : kGlyphs) {
    if (g.ch == c) return g;
  }
  return kGlyphs[std::size(kGlyphs) - 1];  // '?'
}

}  // namespace

int BitmapFont::Advance(char c) {
  return static_cast<int>(std::char_traits<char>::length(Find(c).rows[0])) + 1;
}

SIZE BitmapFont::Extent(std::string_view text) {
  int width = 0;
  for (char c : text) width += Advance(c);
  return SIZE{width, kCellHeight};
}

const char* const* BitmapFont::GlyphRows(char c) { return Find(c).rows.data(); }

}  // namespace gdi
