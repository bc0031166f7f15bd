// File names carried in a location BSTR without loss.
//
// A file name on Linux is a string of bytes, not text. A location gives each valid UTF-8
// sequence of the name as its character and each other byte b as the unpaired low surrogate
// U+DC00 + b (b is 0x80..0xFF). Hosts that make locations with LocationFromPath get back
// exactly the bytes they started from; a location made from ordinary text (no unpaired
// surrogates) names the file whose name is that text in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace info {

std::u16string LocationFromPath(std::string_view path);
std::string PathFromLocation(std::u16string_view location);

}  // namespace info
