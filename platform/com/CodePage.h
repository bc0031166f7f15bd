// Text conversions between the encodings the system meets: UTF-16 (wide strings on the
// component boundary), UTF-8 (file names on Linux) and Windows-1252 (the ANSI code page used
// for tag and dialog text). Every conversion is total: malformed input never stops it.
#pragma once

#include <string>
#include <string_view>

namespace com {

// UTF-8 to UTF-16. Each malformed sequence (bad lead byte, truncated or overlong sequence,
// encoded surrogate, value above U+10FFFF) becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Windows-1252 to UTF-16. Every byte maps to one character; the five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value,
// so every byte string survives a round trip.
std::u16string AnsiToUtf16(std::string_view text);

// UTF-16 to Windows-1252. A character the code page cannot express becomes '?'; a surrogate
// pair counts as one character.
std::string Utf16ToAnsi(std::u16string_view text);

}  // namespace com
