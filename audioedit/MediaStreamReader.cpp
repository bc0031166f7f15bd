#include "audioedit/MediaStreamReader.h"

#include "platform/fileio/InputOpen.h"
#include "platform/media/AudioDecodeStream.h"

namespace audioedit {

MediaStreamReader::MediaStreamReader() = default;
MediaStreamReader::~MediaStreamReader() = default;

bool MediaStreamReader::Open(const std::string& path) {
  Close();
  error_.clear();
  // The framework would wait on a FIFO or read a device for ever: regular files only.
  if (const std::string why = fileio::CheckRegularInput(path); !why.empty()) {
    error_ = "cannot open '" + path + "': " + why;
    return false;
  }
  stream_ = media::AudioDecodeStream::Open(path, error_);
  if (!stream_) return false;
  const media::PcmFormat& pcm = stream_->Format();
  if (pcm.channels == 0 || pcm.rate == 0 || pcm.FrameBytes() == 0) {
    error_ = "Cannot decode '" + path + "': the stream reports no usable PCM format";
    Close();
    return false;
  }
  format_.wFormatTag = WAVE_FORMAT_PCM;
  format_.nChannels = pcm.channels;
  format_.nSamplesPerSec = pcm.rate;
  format_.nBlockAlign = static_cast<com::WORD>(pcm.FrameBytes());
  format_.nAvgBytesPerSec = pcm.rate * pcm.FrameBytes();
  format_.wBitsPerSample = pcm.bits;
  format_.cbSize = 0;
  return true;
}

bool MediaStreamReader::Close() {
  stream_.reset();
  format_ = WAVEFORMATEX{};
  return true;
}

bool MediaStreamReader::GetFormat(WAVEFORMATEX& format) {
  if (!stream_) return false;
  format = format_;
  return true;
}

bool MediaStreamReader::Read(void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (!stream_ || size < kMinReadSize || buffer == nullptr) return false;
  got = static_cast<std::uint32_t>(stream_->Read(static_cast<std::uint8_t*>(buffer), size));
  if (stream_->Failed()) error_ = stream_->Error();
  return true;
}

bool MediaStreamReader::GetDuration(std::uint32_t& milliseconds) {
  std::uint64_t ns = 0;
  if (!stream_ || !stream_->DurationNs(ns)) return false;
  const std::uint64_t ms = ns / 1000000u;
  milliseconds = ms > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(ms);
  return true;
}

}  // namespace audioedit
