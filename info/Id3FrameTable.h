// The ID3v2.3.0 frame identifiers this library knows, and the ID3v2.2 ones mapped to them, with their names from the standard.
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
// True when `id` is a well-formed frame identifier: four characters from A-Z and 0-9
// (three for ID3v2.2 when `length` is 3).
bool IsFrameId(std::string_view id, std::size_t length = 4);
// The ID3v2.3 identifier of an ID3v2.2 frame, else empty (the frame has no ID3v2.3 form).
std::string_view V23IdOfV22(std::string_view id);

}  // namespace info
