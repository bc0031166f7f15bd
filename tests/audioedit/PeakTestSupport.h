// Test helpers for peak files: a private temporary directory, recorded build events and a
// reader that synthesises PCM without the media framework.
#pragma once

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audioedit/AudioReader.h"
#include "audioedit/PeakBuildEvents.h"

namespace audioedit::testing_support {

class TempDir {
 public:
  TempDir() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/peaktestXXXXXX";
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_))
      names.push_back(e.path().filename().string());
    return names;
  }

 private:
  std::string path_;
};

inline std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

struct RecordedEvents : PeakBuildEvents {
  int starts = 0;
  std::vector<std::uint32_t> progress;
  int cancelAfterPolls = -1;  // -1: never
  int polls = 0;
  void OnStartPeakFile() override { ++starts; }
  void OnPeakFileProgress(std::uint32_t p) override { progress.push_back(p); }
  bool IsCancelRequested() override { return cancelAfterPolls >= 0 && polls++ >= cancelAfterPolls; }
};

// Delivers `frames` frames of a counting pattern in the given format, in pieces of at most
// `piece` bytes per Read.
class SyntheticReader final : public AudioReader {
 public:
  SyntheticReader(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate,
                  std::uint64_t frames, std::uint32_t durationMs, std::uint32_t piece = 0)
      : channels_(channels),
        bits_(bits),
        rate_(rate),
        durationMs_(durationMs),
        piece_(piece),
        total_(frames * channels * (bits / 8)) {}

  static std::uint8_t ByteAt(std::uint64_t i) { return static_cast<std::uint8_t>(i * 7 + i / 251); }

  bool Open(const std::string&) override { return open_ = true; }
  bool Close() override {
    open_ = false;
    return true;
  }
  bool GetFormat(WAVEFORMATEX& f) override {
    f = WAVEFORMATEX{WAVE_FORMAT_PCM,
                     channels_,
                     rate_,
                     rate_ * channels_ * (bits_ / 8u),
                     static_cast<com::WORD>(channels_ * (bits_ / 8)),
                     bits_,
                     0};
    return open_;
  }
  bool Read(void* buffer, std::uint32_t size, std::uint32_t& got) override {
    std::uint64_t n = std::min<std::uint64_t>(size, total_ - pos_);
    if (piece_ != 0) n = std::min<std::uint64_t>(n, piece_);
    auto* out = static_cast<std::uint8_t*>(buffer);
    for (std::uint64_t i = 0; i < n; ++i) out[i] = ByteAt(pos_ + i);
    pos_ += n;
    got = static_cast<std::uint32_t>(n);
    return open_;
  }
  bool GetDuration(std::uint32_t& ms) override {
    ms = durationMs_;
    return open_;
  }

 private:
  std::uint16_t channels_, bits_;
  std::uint32_t rate_, durationMs_, piece_;
  std::uint64_t total_;
  std::uint64_t pos_ = 0;
  bool open_ = false;
};

}  // namespace audioedit::testing_support
