// The byte source from which an Mp3Decoder pulls compressed data; implemented by the
// decoder's user. The decoder never destroys a source.
#pragma once

#include <cstdint>

namespace mpegaudio {

class Mp3Source {
 public:
  virtual ~Mp3Source() = default;
  // Delivers up to `count` bytes into `buffer` and sets `got`; the result is not used.
  virtual std::int32_t Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) = 0;
  // True when the source has nothing more to deliver.
  virtual bool IsEof() = 0;
};

}  // namespace mpegaudio
