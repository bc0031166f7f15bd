// The ID3v1 reader on the last 128 bytes of arbitrary input, and a render of its fields.
#include <cstddef>
#include <cstdint>
#include <span>

#include "info/Id3v1Tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < info::Id3v1Tag::kSize) return 0;
  info::Id3v1Tag tag;
  tag.Parse(std::span<const std::uint8_t>(data, size).last<info::Id3v1Tag::kSize>());
  (void)tag.Render();
  return 0;
}
