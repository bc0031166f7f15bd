#include "info/LocationPath.h"

#include "info/TextCodec.h"

namespace info {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool IsEscapedByte(char16_t c) { return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF; }

}  // namespace

std::u16string LocationFromPath(std::string_view path) {
  std::u16string out;
  out.reserve(path.size());
  for (std::size_t i = 0; i < path.size();) {
    const Utf8Step step = ReadUtf8(path, i);
    if (step.length == 0) {
      out.push_back(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(path[i])));
      ++i;
    } else {
      AppendUtf16(out, step.code);
      i += step.length;
    }
  }
  return out;
}

std::string PathFromLocation(std::u16string_view location) {
  std::string out;
  out.reserve(location.size());
  std::size_t from = 0;
  for (std::size_t i = 0; i <= location.size(); ++i) {
    if (i < location.size() && !IsEscapedByte(location[i])) continue;
    // An escaped byte ends a run of text; a surrogate pair is never split because its low
    // half follows a high half and the escapes are unpaired by construction.
    const bool pairedLow =
        i > 0 && i < location.size() && location[i - 1] >= 0xD800 && location[i - 1] < 0xDC00;
    if (pairedLow) continue;
    out += WideToUtf8(location.substr(from, i - from));
    if (i < location.size()) out.push_back(static_cast<char>(location[i] - kEscapeBase));
    from = i + 1;
  }
  return out;
}

}  // namespace info
