// Texts as JSON string literals.
#pragma once

#include <string>
#include <string_view>

namespace trackinfo {

// `text` quoted for JSON: UTF-8 for characters and surrogate pairs, \uXXXX escapes for
// control characters and unpaired surrogates (the bytes of a file name that are not UTF-8).
std::string JsonString(std::u16string_view text);

}  // namespace trackinfo
