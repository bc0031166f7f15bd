// Between the MPEG file reader and the decoder: owns the stream analysis and the decoder
// of one file, and feeds the decoder with the file's bytes as its Mp3Source. Leading ID3v2
// tags are stepped over before analysis and decoding. Every frame is delivered in the
// layout of the stream's first frame (StreamLayout; Open decodes that frame once, and the
// channels and rate of Properties() are its, where the analysis gives averages): a change of the
// channel count inside the stream is conformed to it, a change of the sampling rate ends the audio
// there, and so does a stretch of kMaxBytesWithoutFrame input bytes without a frame.
#pragma once

#include <cstdint>
#include <memory>

#include "audioedit/mp3/StreamLayout.h"
#include "mpegaudio/Mp3Decoder.h"
#include "mpegaudio/Mp3Source.h"
#include "mpegaudio/analysis/AudioBounds.h"
#include "mpegaudio/analysis/Mp3StreamInfo.h"

namespace audioedit {

class InputFile;

class Mp3SourceAdapter final : public mpegaudio::Mp3Source {
 public:
  // The stream is analysed from this many bytes at the start of its audio.
  static constexpr std::uint32_t kAnalysisBytes = 0x20000;

  Mp3SourceAdapter() = default;
  Mp3SourceAdapter(const Mp3SourceAdapter&) = delete;
  Mp3SourceAdapter& operator=(const Mp3SourceAdapter&) = delete;

  // Analyses the file (not owned; it must outlive the adapter's use) and prepares the
  // decoder to read it from the start of its audio. False when the file holds no Layer III
  // stream; the adapter is reset then.
  bool Open(InputFile& file);
  // Destroys the decoder objects and forgets the file.
  void Reset();
  // Decodes one frame into `out` (room for mpegaudio::kMaxFrameBytes16 bytes); returns the
  // bytes written, 0 when no frame was produced or the audio has ended.
  std::uint32_t Decode(std::uint8_t* out);

  // Mp3Source, called by the decoder.
  std::int32_t Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override;
  bool IsEof() override;

  const mpegaudio::Mp3StreamProperties& Properties() const { return properties_; }
  std::int32_t Bitrate() const { return properties_.bitrate; }
  std::int32_t Channels() const { return properties_.channels; }
  std::int32_t SamplingRate() const { return properties_.samplingRate; }
  std::uint32_t DurationMs() const { return static_cast<std::uint32_t>(properties_.durationMs); }
  const mpegaudio::AudioBounds& Bounds() const { return bounds_; }
  // Bytes handed to the decoder since Open: a decode call that raised it made progress.
  std::uint64_t BytesFed() const { return bytesFed_; }

 private:
  struct DecoderDeleter {
    void operator()(mpegaudio::Mp3Decoder* d) const { d->Destroy(); }
  };
  struct StreamInfoDeleter {
    void operator()(mpegaudio::Mp3StreamInfo* s) const { s->Destroy(); }
  };

  bool Analyse();
  void FixLayoutFromFirstFrame();

  InputFile* file_ = nullptr;
  std::unique_ptr<mpegaudio::Mp3Decoder, DecoderDeleter> decoder_;
  std::unique_ptr<mpegaudio::Mp3StreamInfo, StreamInfoDeleter> streamInfo_;
  mpegaudio::Mp3StreamProperties properties_{};
  mpegaudio::AudioBounds bounds_;
  std::uint32_t fileSize_ = 0;
  std::uint64_t bytesFed_ = 0;
  std::uint64_t fedAtLastFrame_ = 0;
  StreamLayout layout_;
  bool ended_ = false;
};

}  // namespace audioedit
