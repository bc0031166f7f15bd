#include "tools/tavolex/DecodeOutput.h"

#include <cstring>
#include <utility>

namespace tavolex_cli {
namespace {

void PutLe(std::uint8_t* p, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

DecodeOutput::DecodeOutput(std::string path, bool wav, std::uint64_t maxDataBytes)
    : path_(std::move(path)), file_(path_), wav_(wav), maxDataBytes_(maxDataBytes) {}

bool DecodeOutput::FileFailed() {
  error_ = file_.Error();
  file_.Discard();
  return false;
}

bool DecodeOutput::Open() {
  if (!file_.Open()) return FileFailed();
  return !wav_ || WriteWavHeader(0, false);
}

bool DecodeOutput::WriteWavHeader(std::uint32_t dataBytes, bool inPlace) {
  std::uint8_t h[44];
  std::memcpy(h, "RIFF", 4);
  PutLe(h + 4, 36 + dataBytes, 4);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  PutLe(h + 16, 16, 4);
  PutLe(h + 20, 1, 2);
  PutLe(h + 22, static_cast<std::uint32_t>(channels_), 2);
  PutLe(h + 24, static_cast<std::uint32_t>(rate_), 4);
  PutLe(h + 28, static_cast<std::uint32_t>(rate_ * channels_ * 2), 4);
  PutLe(h + 32, static_cast<std::uint32_t>(channels_ * 2), 2);
  PutLe(h + 34, 16, 2);
  std::memcpy(h + 36, "data", 4);
  PutLe(h + 40, dataBytes, 4);
  const bool written = inPlace ? file_.WriteAt(h, sizeof h, 0) : file_.Write(h, sizeof h);
  return written || FileFailed();
}

bool DecodeOutput::Append(const std::uint8_t* data, std::size_t size) {
  if (wav_ && dataBytes_ + size > maxDataBytes_) {
    error_ = "cannot write '" + path_ + "': the audio is too long for a WAV file (more than " +
             std::to_string(maxDataBytes_) +
             " bytes of samples); --float writes raw samples "
             "without this limit";
    file_.Discard();
    return false;
  }
  if (!file_.Write(data, size)) return FileFailed();
  dataBytes_ += size;
  return true;
}

bool DecodeOutput::Commit() {
  if (wav_ && !WriteWavHeader(static_cast<std::uint32_t>(dataBytes_), true)) return false;
  return file_.Commit() || FileFailed();
}

}  // namespace tavolex_cli
