// The MPEG audio decoder: Layer III of MPEG-1 (ISO/IEC 11172-3), MPEG-2 low sampling
// frequencies (ISO/IEC 13818-3) and MPEG-2.5. It pulls bytes from an Mp3Source (or is
// filled by its user) and turns one frame per call into PCM. Objects are made by the
// factory functions below and deleted with Destroy.
#pragma once

#include <cstdint>

#include "mpegaudio/Mp3Source.h"
#include "mpegaudio/Ssc.h"

namespace mpegaudio {

// Properties of the frame found by the last decode call.
struct Mp3FrameProperties {
  std::int32_t layer;
  std::int32_t version;           // 0 MPEG-1, 1 MPEG-2, 2 MPEG-2.5
  std::int32_t bitrate;           // bit/s
  std::int32_t bitrateIndex;
  std::int32_t channels;          // in the stream
  std::int32_t samplingRate;      // of the stream, Hz
  std::int32_t outputChannels;
  std::int32_t outputSamplingRate;
  std::int32_t outputBitsPerSample;
  std::int32_t frameSizeBits;
  std::int32_t frameDurationMs;   // the bits of a float (milliseconds)
  std::int32_t crcError;          // 1 when the call returned SscCrcError
  std::int32_t noMainData;        // 1 when the call returned SscNoMainData
};
static_assert(sizeof(Mp3FrameProperties) == 13 * 4);

// The largest decoded frame: 1152 samples x 2 channels x 2 bytes.
inline constexpr std::uint32_t kMaxFrameBytes16 = 4608;

class Mp3Decoder {
 public:
  // Deletes the object.
  virtual void Destroy() = 0;
  // Empties the input, starts searching again and clears the decoding state; keeps the
  // source. Used after the user repositions its source.
  virtual void Reset() = 0;
  // As DecodeFrame, with 32-bit float samples (integer scale / 32768, not clipped).
  virtual SSC DecodeFrameFloat(float* buffer, std::uint32_t sizeBytes, std::uint32_t& written) = 0;
  // Decodes at most one frame into buffer; written receives the byte count.
  virtual SSC DecodeFrame(std::uint8_t* buffer, std::uint32_t sizeBytes,
                          std::uint32_t& written) = 0;
  virtual const Mp3FrameProperties* GetFrameProperties() = 0;
  // Stores the source (not owned) and returns it.
  virtual Mp3Source* SetSource(Mp3Source* source) = 0;
  // Copies min(count, free space) bytes into the input; returns the count copied.
  virtual std::uint32_t Fill(const std::uint8_t* bytes, std::uint32_t count) = 0;
  virtual std::uint32_t GetFreeInputBytes() = 0;
  virtual std::uint32_t GetBufferedInputBytes() = 0;
  virtual void SetEndOfInput() = 0;
  // True once a decode call has returned SscSyncEof, until Reset.
  virtual bool IsEndOfStream() = 0;
  virtual ~Mp3Decoder() = default;
};

// CreateMp3DecoderEx(0, 0, 0, decoder).
SSC CreateMp3Decoder(Mp3Decoder** decoder);
// downsampleShift 0, 1 or 2: full, half or quarter output rate; eightBitOutput: unsigned
// 8-bit samples; monoDownmix: a stereo stream folded into one channel.
SSC CreateMp3DecoderEx(int downsampleShift, int eightBitOutput, int monoDownmix,
                       Mp3Decoder** decoder);

}  // namespace mpegaudio
