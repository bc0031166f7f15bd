// The ID3v2.3.0 frame identifiers this library knows, with their names from the standard.
#pragma once

#include <string_view>

namespace info {

struct Id3FrameInfo {
  std::string_view id;
  std::string_view description;
};

// True when `id` (four characters) is one of the 74 ID3v2.3.0 frame identifiers.
bool IsKnownFrame(std::string_view id);
// The standard's name of a known frame, else empty.
std::string_view FrameDescription(std::string_view id);

}  // namespace info
