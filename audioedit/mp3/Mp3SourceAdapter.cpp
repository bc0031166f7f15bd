#include "audioedit/mp3/Mp3SourceAdapter.h"

#include <algorithm>
#include <array>
#include <vector>

#include "audioedit/mp3/InputFile.h"

namespace audioedit {
namespace {

class FileBytes final : public mpegaudio::ByteReader {
 public:
  explicit FileBytes(InputFile& file) : file_(file) {}
  std::size_t ReadAt(std::uint32_t offset, std::uint8_t* buffer, std::size_t count) override {
    std::uint32_t got = 0;
    if (!file_.Seek(offset) || !file_.Read(buffer, static_cast<std::uint32_t>(count), got)) {
      return 0;
    }
    return got;
  }

 private:
  InputFile& file_;
};

// Reads until `count` bytes are in or the file ends.
std::uint32_t ReadFully(InputFile& file, std::uint8_t* buffer, std::uint32_t count) {
  std::uint32_t total = 0;
  while (total < count) {
    std::uint32_t got = 0;
    if (!file.Read(buffer + total, count - total, got) || got == 0) break;
    total += got;
  }
  return total;
}

}  // namespace

void Mp3SourceAdapter::Reset() {
  decoder_.reset();
  streamInfo_.reset();
  file_ = nullptr;
  properties_ = mpegaudio::Mp3StreamProperties{};
  bounds_ = mpegaudio::AudioBounds{};
  fileSize_ = 0;
  bytesFed_ = 0;
  fedAtLastFrame_ = 0;
  layout_ = StreamLayout{};
  ended_ = false;
}

bool Mp3SourceAdapter::Open(InputFile& file) {
  Reset();
  mpegaudio::Mp3Decoder* decoder = nullptr;
  mpegaudio::Mp3StreamInfo* info = nullptr;
  const bool made = mpegaudio::CreateMp3Decoder(&decoder) == mpegaudio::SscOk &&
                    mpegaudio::CreateMp3StreamInfo(&info) == mpegaudio::SscOk;
  decoder_.reset(decoder);
  streamInfo_.reset(info);
  if (!made || !file.IsOpen()) {
    Reset();
    return false;
  }
  file_ = &file;
  if (!Analyse()) {
    Reset();
    return false;
  }
  decoder_->SetSource(this);
  FixLayoutFromFirstFrame();
  return true;
}

void Mp3SourceAdapter::FixLayoutFromFirstFrame() {
  std::array<std::uint8_t, mpegaudio::kMaxFrameBytes16> scratch{};
  int idleCalls = 0;
  while (idleCalls < 2 && bytesFed_ <= kMaxBytesWithoutFrame) {
    const std::uint64_t fedBefore = bytesFed_;
    std::uint32_t written = 0;
    decoder_->DecodeFrame(scratch.data(), static_cast<std::uint32_t>(scratch.size()), written);
    if (written != 0) {
      const mpegaudio::Mp3FrameProperties* frame = decoder_->GetFrameProperties();
      properties_.channels = frame->outputChannels;
      properties_.samplingRate = frame->outputSamplingRate;
      break;
    }
    idleCalls = bytesFed_ != fedBefore ? 0 : idleCalls + 1;
  }
  layout_.Fix(properties_.channels, properties_.samplingRate);
  decoder_->Reset();
  file_->Seek(bounds_.start);
  bytesFed_ = 0;
}

bool Mp3SourceAdapter::Analyse() {
  fileSize_ = file_->GetSize();
  FileBytes bytes(*file_);
  bounds_ = mpegaudio::FindAudioBounds(bytes, fileSize_);
  // The duration of a constant-bitrate stream follows from its size: count only the audio.
  std::vector<std::uint8_t> head(std::min(kAnalysisBytes, bounds_.Bytes()));
  if (!file_->Seek(bounds_.start)) return false;
  const std::uint32_t got = ReadFully(*file_, head.data(), static_cast<std::uint32_t>(head.size()));
  if (!file_->Seek(bounds_.start)) return false;
  if (!streamInfo_->Parse(head.data(), got, bounds_.Bytes())) return false;
  properties_ = *streamInfo_->GetInfo();
  return true;
}

std::uint32_t Mp3SourceAdapter::Decode(std::uint8_t* out) {
  if (!decoder_ || ended_) return 0;
  std::uint32_t written = 0;
  decoder_->DecodeFrame(out, mpegaudio::kMaxFrameBytes16, written);
  if (written == 0) {
    if (bytesFed_ - fedAtLastFrame_ > kMaxBytesWithoutFrame) ended_ = true;
    return 0;
  }
  fedAtLastFrame_ = bytesFed_;
  const mpegaudio::Mp3FrameProperties* frame = decoder_->GetFrameProperties();
  const std::optional<std::size_t> conformed =
      layout_.Conform16(out, written, frame->outputChannels, frame->outputSamplingRate);
  if (!conformed || *conformed > mpegaudio::kMaxFrameBytes16) {
    ended_ = true;
    return 0;
  }
  return static_cast<std::uint32_t>(*conformed);
}

std::int32_t Mp3SourceAdapter::Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) {
  got = 0;
  if (file_ != nullptr && file_->Read(buffer, count, got)) bytesFed_ += got;
  return 0;
}

bool Mp3SourceAdapter::IsEof() { return file_ == nullptr || file_->Tell() >= fileSize_; }

}  // namespace audioedit
