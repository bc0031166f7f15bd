// Double-quoted strings with backslash escapes, as the registry file and the registration
// scripts write them. Escapes: \\ \" \n \r \t and \xHH for the other control bytes; every
// other byte (UTF-8 included) stands for itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace reg {

std::string Quote(std::string_view text);

// A short, printable rendering of untrusted text for an error message: at most `maxBytes`
// bytes of it, printable ASCII as is and every other byte as \xHH, with "..." when cut.
std::string Excerpt(std::string_view text, std::size_t maxBytes = 40);

// Reads one quoted string starting at text[pos] (which must be '"'). On success stores the
// unescaped bytes in `out`, moves `pos` past the closing quote and returns an empty string;
// otherwise returns what is wrong and leaves `pos` unchanged.
std::string ReadQuoted(std::string_view text, std::size_t& pos, std::string& out);

}  // namespace reg
