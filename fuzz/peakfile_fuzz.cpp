// Checks an arbitrary file as a peak file for a fixed audio format: Validate must return a
// status and never read past what the file holds.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string audio = [] {
    char name[] = "/tmp/peakfuzz_audioXXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return std::string(name);
  }();
  char name[] = "/tmp/peakfuzz_peakXXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) return 0;
  if (write(fd, data, size) != static_cast<ssize_t>(size)) size = 0;
  close(fd);
  audioedit::PeakFile peak;
  peak.SetReaderFactory([](const std::string&) { return std::make_unique<FixedReader>(); });
  const audioedit::PEC r = peak.Validate(audio, name);
  if (r == audioedit::PEC_Success && peak.Info().sample_interval == 0) __builtin_trap();
  unlink(name);
  return 0;
}
