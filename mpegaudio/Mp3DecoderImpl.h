// The Mp3Decoder made by CreateMp3Decoder(Ex): frame synchronisation over an owning input
// ring, then Layer III decoding of each frame found.
#pragma once

#include "mpegaudio/FrameSync.h"
#include "mpegaudio/Mp3Decoder.h"
#include "mpegaudio/layer3/Layer3Decoder.h"

namespace mpegaudio {

class Mp3DecoderImpl final : public Mp3Decoder {
 public:
  explicit Mp3DecoderImpl(const layer3::OutputOptions& options);
  Mp3DecoderImpl(const Mp3DecoderImpl&) = delete;
  Mp3DecoderImpl& operator=(const Mp3DecoderImpl&) = delete;

  void Destroy() override;
  void Reset() override;
  SSC DecodeFrameFloat(float* buffer, std::uint32_t sizeBytes, std::uint32_t& written) override;
  SSC DecodeFrame(std::uint8_t* buffer, std::uint32_t sizeBytes, std::uint32_t& written) override;
  const Mp3FrameProperties* GetFrameProperties() override { return &properties_; }
  Mp3Source* SetSource(Mp3Source* source) override;
  std::uint32_t Fill(const std::uint8_t* bytes, std::uint32_t count) override;
  std::uint32_t GetFreeInputBytes() override;
  std::uint32_t GetBufferedInputBytes() override;
  void SetEndOfInput() override;
  bool IsEndOfStream() override { return endOfStream_; }

 private:
  SSC Decode(void* buffer, std::uint32_t sizeBytes, layer3::SampleFormat format,
             std::uint32_t& written);
  SSC DecodeSynchronisedFrame(void* buffer, std::uint32_t sizeBytes, layer3::SampleFormat format,
                              std::uint32_t& written);
  void RefreshProperties(SSC status);

  layer3::OutputOptions options_;
  FrameSync sync_;
  layer3::Layer3Decoder layer3_;
  Mp3Source* source_ = nullptr;
  Mp3FrameProperties properties_{};
  bool endOfStream_ = false;
};

}  // namespace mpegaudio
