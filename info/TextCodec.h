// The four text encodings of ID3v2 frames and the conversions between them and the
// attributes' wide (UTF-16) text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace info {

namespace encoding {
inline constexpr std::uint8_t kLatin1 = 0;   // ISO-8859-1
inline constexpr std::uint8_t kUtf16 = 1;    // UTF-16 with a byte order mark
inline constexpr std::uint8_t kUtf16Be = 2;  // UTF-16 big-endian without a mark (ID3v2.4)
inline constexpr std::uint8_t kUtf8 = 3;     // UTF-8 (ID3v2.4)
}  // namespace encoding

// Bytes of a terminator in `enc`: two for the UTF-16 forms, one otherwise.
std::size_t TerminatorSize(std::uint8_t enc);

// Offset of the terminator of the text starting at `at` (aligned pairs of zero bytes for the
// UTF-16 forms), or bytes.size() when the text runs to the end.
std::size_t FindTerminator(std::span<const std::uint8_t> bytes, std::size_t at, std::uint8_t enc);

// The text of `bytes` in encoding `enc`. UTF-16 without a mark is read as little-endian;
// bytes that are not valid in their encoding become U+FFFD; an unknown encoding reads as
// ISO-8859-1.
std::u16string DecodeText(std::uint8_t enc, std::span<const std::uint8_t> bytes);

// `text` in encoding `enc` without terminator; kUtf16 starts with the mark FF FE. Characters
// outside ISO-8859-1 in kLatin1 become '?': callers choose the encoding with FitsLatin1.
std::vector<std::uint8_t> EncodeText(std::uint8_t enc, std::u16string_view text);

bool FitsLatin1(std::u16string_view text);

// Plain UTF-8 conversions (invalid input becomes U+FFFD; a lone surrogate is written as its
// three-byte form).
std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);

// Reads one UTF-8 sequence at `at`: the code point and its length, or length 0 when the
// bytes there are not a valid, shortest-form sequence of a scalar value.
struct Utf8Step {
  char32_t code = 0;
  std::size_t length = 0;
};
Utf8Step ReadUtf8(std::string_view text, std::size_t at);
void AppendUtf16(std::u16string& out, char32_t code);

}  // namespace info
