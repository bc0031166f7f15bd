// Checks an arbitrary file as a peak file for a fixed audio format: Validate must return a
// status and never read past what the file holds. The files live in a private folder in
// $TMPDIR; the peak file is removed after each run and the folder at exit.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "audioedit/PeakFile.h"

namespace {

class FixedReader final : public audioedit::AudioReader {
 public:
  bool Open(const std::string&) override { return true; }
  bool Close() override { return true; }
  bool GetFormat(audioedit::WAVEFORMATEX& f) override {
    f = audioedit::WAVEFORMATEX{audioedit::WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    return true;
  }
  bool Read(void*, std::uint32_t, std::uint32_t& got) override {
    got = 0;
    return true;
  }
  bool GetDuration(std::uint32_t& ms) override {
    ms = 1000;
    return true;
  }
};

// A private folder in $TMPDIR for the run's two files, removed when the fuzzer exits.
class ScratchFolder {
 public:
  ScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/peakfile_fuzz.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
    audio_ = folder_ + "/audio";
    peak_ = folder_ + "/peak";
    std::FILE* audio = std::fopen(audio_.c_str(), "wb");  // the reader is a stand-in: any file
    if (audio == nullptr || std::fclose(audio) != 0) std::abort();
  }
  ~ScratchFolder() {
    unlink(peak_.c_str());
    unlink(audio_.c_str());
    rmdir(folder_.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Audio() const { return audio_; }
  const std::string& Peak() const { return peak_; }

 private:
  std::string folder_, audio_, peak_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFolder scratch;
  std::FILE* file = std::fopen(scratch.Peak().c_str(), "wb");
  if (file == nullptr) std::abort();
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) std::abort();
  audioedit::PeakFile peak;
  peak.SetReaderFactory([](const std::string&) { return std::make_unique<FixedReader>(); });
  const audioedit::PEC r = peak.Validate(scratch.Audio(), scratch.Peak());
  if (r == audioedit::PEC_Success && peak.Info().sample_interval == 0) __builtin_trap();
  unlink(scratch.Peak().c_str());
  return 0;
}
