#include "audioedit/mp3/Mp3FileReader.h"

#include <algorithm>
#include <cstring>

#include "audioedit/Mp3FileReader.h"

namespace audioedit {

std::unique_ptr<AudioReader> CreateMp3FileReader() { return std::make_unique<Mp3FileReader>(); }

bool Mp3FileReader::Open(const std::string& path) {
  Close();
  if (!file_.Open(path)) return false;
  if (!adapter_.Open(file_)) {
    Close();
    return false;
  }
  open_ = true;
  return true;
}

bool Mp3FileReader::Close() {
  adapter_.Reset();
  file_.Close();
  waiting_ = 0;
  open_ = false;
  return true;
}

bool Mp3FileReader::GetFormat(WAVEFORMATEX& format) {
  if (!open_) return false;
  const auto channels = static_cast<com::WORD>(adapter_.Channels());
  const auto rate = static_cast<com::DWORD>(adapter_.SamplingRate());
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = channels;
  format.nSamplesPerSec = rate;
  format.nAvgBytesPerSec = rate * channels * 2;
  format.nBlockAlign = static_cast<com::WORD>(channels * 2);
  format.wBitsPerSample = 16;
  format.cbSize = 18;
  return true;
}

bool Mp3FileReader::GetDuration(std::uint32_t& milliseconds) {
  if (!open_) return false;
  milliseconds = adapter_.DurationMs();
  return true;
}

std::uint32_t Mp3FileReader::DecodeFrame(std::uint8_t* out, bool& progressed) {
  const std::uint64_t fedBefore = adapter_.BytesFed();
  const std::uint32_t produced = adapter_.Decode(out);
  progressed = produced != 0 || adapter_.BytesFed() != fedBefore;
  return produced;
}

std::uint32_t Mp3FileReader::TakeWaiting(std::uint8_t* out, std::uint32_t room) {
  const std::uint32_t n = std::min(waiting_, room);
  std::memcpy(out, frame_.data(), n);
  std::memmove(frame_.data(), frame_.data() + n, waiting_ - n);
  waiting_ -= n;
  return n;
}

bool Mp3FileReader::Read(void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (!open_ || buffer == nullptr) return false;
  auto* out = static_cast<std::uint8_t*>(buffer);
  got = TakeWaiting(out, size);
  // The audio ends after two calls in a row that neither produce samples nor take in
  // input: a decoder still searching through leading non-audio bytes keeps going.
  int idleCalls = 0;
  while (got < size && idleCalls < 2) {
    bool progressed = false;
    if (size - got >= frame_.size()) {
      got += DecodeFrame(out + got, progressed);
    } else {
      waiting_ = DecodeFrame(frame_.data(), progressed);
      got += TakeWaiting(out + got, size - got);
    }
    idleCalls = progressed ? 0 : idleCalls + 1;
  }
  return true;
}

}  // namespace audioedit
