// The AudioReader for every file not named ".mp3": the media framework decodes it and
// hands over the stream's own integer PCM.
#pragma once

#include <memory>
#include <string>

#include "audioedit/AudioReader.h"

namespace media {
class AudioDecodeStream;
}

namespace audioedit {

class MediaStreamReader final : public AudioReader {
 public:
  // Read refuses buffers smaller than this (two CD sectors).
  static constexpr std::uint32_t kMinReadSize = 4704;

  MediaStreamReader();
  ~MediaStreamReader() override;

  bool Open(const std::string& path) override;
  bool Close() override;
  bool GetFormat(WAVEFORMATEX& format) override;
  bool Read(void* buffer, std::uint32_t size, std::uint32_t& got) override;
  bool GetDuration(std::uint32_t& milliseconds) override;

  // Why the last Open failed, or why decoding stopped early; empty otherwise.
  const std::string& LastError() const { return error_; }

 private:
  std::unique_ptr<media::AudioDecodeStream> stream_;
  WAVEFORMATEX format_{};
  std::string error_;
};

}  // namespace audioedit
