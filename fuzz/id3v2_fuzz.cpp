// The ID3v2 parser and the tag layout on arbitrary bytes: frames, texts, pictures, and a
// render of what was parsed.
#include <cstddef>
#include <cstdint>
#include <span>

#include "info/Id3v2Tag.h"
#include "info/TagLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  info::Id3v2Tag tag;
  if (tag.Parse(bytes)) {
    for (info::Id3v2Frame& frame : tag.Frames()) {
      (void)frame.Text();
      (void)frame.pictureData();
      frame.SetText("fuzz");
    }
    (void)tag.Render();
  }
  const info::AudioSpan span = info::LocateAudio(bytes);
  if (span.begin > span.end || span.end > size) __builtin_trap();
  return 0;
}
