#include "platform/com/CodePage.h"

#include <array>
#include <cstdint>

#include "platform/unicode/UnicodeAppend.h"

namespace com {
namespace {

using unicode::AppendUtf16;
using unicode::AppendUtf8;

constexpr char32_t kReplacement = 0xFFFD;

// The 0x80..0x9F block of Windows-1252, from the code page's published table. The five
// undefined positions hold the C1 control of the same value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// Decodes one UTF-8 sequence starting at text[i]; advances i past what was consumed.
// A malformed sequence consumes its maximal valid prefix (at least one byte).
char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<std::uint8_t>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0;
  std::uint8_t lo = 0x80, hi = 0xBF;  // allowed range of the first continuation byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, c = lead & 0x0F;
    if (lead == 0xE0) lo = 0xA0;  // overlong
    if (lead == 0xED) hi = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, c = lead & 0x07;
    if (lead == 0xF0) lo = 0x90;  // overlong
    if (lead == 0xF4) hi = 0x8F;  // above U+10FFFF
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return kReplacement;
    const auto b = static_cast<std::uint8_t>(text[i]);
    if (b < lo || b > hi) return kReplacement;
    lo = 0x80, hi = 0xBF;
    c = (c << 6) | (b & 0x3F);
    ++i;
  }
  return c;
}

// Decodes one UTF-16 character at text[i]; advances i. Unpaired surrogates give U+FFFD.
char32_t DecodeUtf16(std::u16string_view text, std::size_t& i) {
  const char16_t u = text[i++];
  if (u < 0xD800 || u > 0xDFFF) return u;
  if (u >= 0xDC00 || i >= text.size()) return kReplacement;
  const char16_t v = text[i];
  if (v < 0xDC00 || v > 0xDFFF) return kReplacement;
  ++i;
  return 0x10000 + ((char32_t{u} - 0xD800) << 10) + (char32_t{v} - 0xDC00);
}

char EncodeCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t k = 0; k < kCp1252High.size(); ++k)
    if (kCp1252High[k] == c) return static_cast<char>(0x80 + k);
  return '?';
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) AppendUtf16(out, DecodeUtf8(text, i));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) AppendUtf8(out, DecodeUtf16(text, i));
  return out;
}

std::u16string AnsiToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto b = static_cast<std::uint8_t>(ch);
    out.push_back(b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char16_t{b});
  }
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) out.push_back(EncodeCp1252(DecodeUtf16(text, i)));
  return out;
}

}  // namespace com
