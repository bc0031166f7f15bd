#include "mpegaudio/Mp3DecoderImpl.h"

#include <cstring>
#include <new>

namespace mpegaudio {

Mp3DecoderImpl::Mp3DecoderImpl(const layer3::OutputOptions& options)
    : options_(options), layer3_(options) {}

void Mp3DecoderImpl::Destroy() { delete this; }

void Mp3DecoderImpl::Reset() {
  endOfStream_ = false;
  sync_.Reset();
  layer3_.ResetDecodingState();
}

Mp3Source* Mp3DecoderImpl::SetSource(Mp3Source* source) {
  source_ = source;
  return source_;
}

std::uint32_t Mp3DecoderImpl::Fill(const std::uint8_t* bytes, std::uint32_t count) {
  return static_cast<std::uint32_t>(sync_.Buffer().Fill(bytes, count));
}

std::uint32_t Mp3DecoderImpl::GetFreeInputBytes() {
  return static_cast<std::uint32_t>(sync_.Buffer().FreeBytes());
}

std::uint32_t Mp3DecoderImpl::GetBufferedInputBytes() {
  return static_cast<std::uint32_t>(sync_.Buffer().BufferedBytes());
}

void Mp3DecoderImpl::SetEndOfInput() { sync_.Buffer().SetEndOfInput(); }

SSC Mp3DecoderImpl::DecodeFrame(std::uint8_t* buffer, std::uint32_t sizeBytes,
                                std::uint32_t& written) {
  const layer3::SampleFormat format =
      options_.eightBit ? layer3::SampleFormat::kUInt8 : layer3::SampleFormat::kInt16;
  return Decode(buffer, sizeBytes, format, written);
}

SSC Mp3DecoderImpl::DecodeFrameFloat(float* buffer, std::uint32_t sizeBytes,
                                     std::uint32_t& written) {
  return Decode(buffer, sizeBytes, layer3::SampleFormat::kFloat32, written);
}

SSC Mp3DecoderImpl::Decode(void* buffer, std::uint32_t sizeBytes, layer3::SampleFormat format,
                           std::uint32_t& written) {
  written = 0;
  SSC status = sync_.Step(source_);
  if (SscHasFrame(status)) {
    if (buffer != nullptr) status = DecodeSynchronisedFrame(buffer, sizeBytes, format, written);
    RefreshProperties(status);
    return status;
  }
  if (status == SscSyncEof) {
    endOfStream_ = true;
  } else if (status == SscSyncLost) {
    layer3_.ResetDecodingState();
  }
  return status;
}

SSC Mp3DecoderImpl::DecodeSynchronisedFrame(void* buffer, std::uint32_t sizeBytes,
                                            layer3::SampleFormat format, std::uint32_t& written) {
  const FrameHeader& header = sync_.Header();
  if (header.layer != 3) return SscWrongLayer;
  const std::uint32_t needed = layer3_.FrameBytes(header, format);
  if (sizeBytes < needed) return SscBufferTooSmall;
  const SSC status = layer3_.DecodeFrame(sync_.Buffer(), header, format, buffer);
  if (SscHasFrame(status)) written = needed;
  return status;
}

void Mp3DecoderImpl::RefreshProperties(SSC status) {
  const FrameHeader& h = sync_.Header();
  Mp3FrameProperties& p = properties_;
  p.layer = h.layer;
  p.version = h.version;
  p.bitrate = h.bitrate;
  p.bitrateIndex = h.bitrateIndex;
  p.channels = h.channels;
  p.samplingRate = h.samplingRate;
  p.outputChannels = options_.mono ? 1 : h.channels;
  p.outputSamplingRate = h.samplingRate >> options_.downsampleShift;
  p.outputBitsPerSample = options_.eightBit ? 8 : 16;
  p.frameSizeBits = h.frameSizeBits;
  std::memcpy(&p.frameDurationMs, &h.frameDurationMs, sizeof(float));
  p.crcError = status == SscCrcError ? 1 : 0;
  p.noMainData = status == SscNoMainData ? 1 : 0;
}

SSC CreateMp3DecoderEx(int downsampleShift, int eightBitOutput, int monoDownmix,
                       Mp3Decoder** decoder) {
  if (decoder == nullptr) return SscBadParameter;
  *decoder = nullptr;
  if (downsampleShift < 0 || downsampleShift > 2) return SscBadParameter;
  layer3::OutputOptions options;
  options.downsampleShift = downsampleShift;
  options.eightBit = eightBitOutput != 0;
  options.mono = monoDownmix != 0;
  *decoder = new (std::nothrow) Mp3DecoderImpl(options);
  return *decoder == nullptr ? SscOutOfMemory : SscOk;
}

SSC CreateMp3Decoder(Mp3Decoder** decoder) { return CreateMp3DecoderEx(0, 0, 0, decoder); }

}  // namespace mpegaudio
