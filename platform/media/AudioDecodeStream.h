// Decodes the first audio stream of any file the media framework can render into
// interleaved integer PCM, pulled by the caller at its own pace.
//
// The stream keeps the decoder's own integer format where it is 8-bit unsigned, 16-bit or
// 24-bit; other integer layouts are converted to the nearest of these (signed 8-bit to
// unsigned, 20/32-bit to 24-bit), and decoders that produce floating point (Vorbis, Opus,
// MPEG through the framework's decoders) deliver 16-bit without dithering.
// At most a few decoded buffers wait between the decoder and the caller, so memory stays
// flat however long the file is; the decoder runs without a clock, as fast as it can.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/media/PcmFormat.h"

namespace media {

class AudioDecodeStream {
 public:
  ~AudioDecodeStream();
  AudioDecodeStream(const AudioDecodeStream&) = delete;
  AudioDecodeStream& operator=(const AudioDecodeStream&) = delete;

  // Opens a file by its UTF-8 path and prerolls it. Null with `error` describing what went
  // wrong (missing file, not a media file, no audio stream) and naming the file.
  static std::unique_ptr<AudioDecodeStream> Open(const std::string& path, std::string& error);

  const PcmFormat& Format() const { return format_; }
  // Length in nanoseconds as the pipeline reports it; false when it cannot tell.
  bool DurationNs(std::uint64_t& ns) const;

  // Copies up to `size` bytes of PCM to `dest`; returns the count, 0 at the end of the
  // stream or after a failure (see Failed). Blocks until data is there.
  std::size_t Read(std::uint8_t* dest, std::size_t size);

  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }

 private:
  struct Pipeline;
  explicit AudioDecodeStream(std::unique_ptr<Pipeline> pipeline);
  bool PullNext();

  std::unique_ptr<Pipeline> pipeline_;
  PcmFormat format_;
  std::string error_;
  bool ended_ = false;
};

}  // namespace media
