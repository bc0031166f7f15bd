// The AudioReader for MPEG audio files: analyses the stream, then decodes it frame by frame
// into interleaved 16-bit PCM. Large requests are decoded straight into the caller's
// buffer; a frame that does not fit whole is decoded into the reader's own buffer and its
// rest is delivered first by the next Read.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "audioedit/AudioReader.h"
#include "audioedit/mp3/InputFile.h"
#include "audioedit/mp3/Mp3SourceAdapter.h"
#include "mpegaudio/Mp3Decoder.h"

namespace audioedit {

class Mp3FileReader final : public AudioReader {
 public:
  Mp3FileReader() = default;
  ~Mp3FileReader() override { Close(); }

  bool Open(const std::string& path) override;
  bool Close() override;
  bool GetFormat(WAVEFORMATEX& format) override;
  bool Read(void* buffer, std::uint32_t size, std::uint32_t& got) override;
  bool GetDuration(std::uint32_t& milliseconds) override;

 private:
  // Decodes one frame into `out`; `progressed` tells whether it produced bytes or took in
  // new input.
  std::uint32_t DecodeFrame(std::uint8_t* out, bool& progressed);
  std::uint32_t TakeWaiting(std::uint8_t* out, std::uint32_t room);

  InputFile file_;
  Mp3SourceAdapter adapter_;
  std::array<std::uint8_t, mpegaudio::kMaxFrameBytes16> frame_{};
  std::uint32_t waiting_ = 0;
  bool open_ = false;
};

}  // namespace audioedit
