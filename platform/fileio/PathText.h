// File names through wide strings. A name on this system is a string of bytes, usually but
// not always UTF-8. A valid UTF-8 sequence becomes its UTF-16 character; every byte that is
// not part of one becomes the unpaired low surrogate U+DC80..U+DCFF of the same low byte, so
// bytes -> wide -> bytes gives back every name unchanged. A wide name holding any other
// unpaired surrogate names no file on this system and is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fileio {

std::u16string PathToWide(std::string_view bytes);

// Nothing when `wide` holds an unpaired surrogate outside U+DC80..U+DCFF (or a NUL).
std::optional<std::string> PathFromWide(std::u16string_view wide);

// The name as JSON string content (without quotes): control characters, quote and
// backslash escaped, bytes of no UTF-8 sequence as the \udcXX escape of their carrier.
std::string JsonEscape(std::string_view bytes);

}  // namespace fileio
