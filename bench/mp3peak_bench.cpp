// Peak-file build time of a 10-minute 44.1 kHz stereo 128 kbit/s MP3 file against decoding
// the same file alone, frame by frame with the decoder (as `tavolex decode` does, without
// writing), and against reading it through the MPEG file reader. The ratio build / decode
// is the cost of the reader, the sampling and the writing on top of decoding.
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audioedit/PeakFile.h"
#include "audioedit/mp3/Mp3FileReader.h"
#include "mpegaudio/Mp3Decoder.h"

namespace {

const std::string& Source() {
  static const std::string path = [] {
    const std::string dir = std::string(TEST_DATA_DIR) + "/mp3analysis";
    const std::string command =
        std::string(PROJECT_SOURCE_DIR) + "/scripts/make_mp3_analysis_fixtures.sh --bench " + dir;
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cannot make %s\n", dir.c_str());
    return dir + "/bench_10min_128k.mp3";
  }();
  return path;
}

class FileSource final : public mpegaudio::Mp3Source {
 public:
  explicit FileSource(std::FILE* f) : f_(f) {}
  std::int32_t Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
    got = static_cast<std::uint32_t>(std::fread(buffer, 1, count, f_));
    return 0;
  }
  bool IsEof() override { return std::feof(f_) != 0 || std::ferror(f_) != 0; }

 private:
  std::FILE* f_;
};

double buildSeconds = 0;
double decodeSeconds = 0;
double readerSeconds = 0;

// Processor time of this process: the machine may be shared, and every measured body runs
// on the calling thread.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <typename F>
void Timed(benchmark::State& state, double& mean, F body) {
  double total = 0;
  for (auto _ : state) {
    const double start = CpuSeconds();
    body();
    total += CpuSeconds() - start;
  }
  mean = total / static_cast<double>(state.iterations());
  state.counters["audio_minutes_per_s"] = 10.0 / mean;
}

void BM_DecodeAlone(benchmark::State& state) {
  Timed(state, decodeSeconds, [&] {
    std::FILE* f = std::fopen(Source().c_str(), "rb");
    if (f == nullptr) return state.SkipWithError("cannot open the source");
    FileSource source(f);
    mpegaudio::Mp3Decoder* decoder = nullptr;
    mpegaudio::CreateMp3Decoder(&decoder);
    decoder->SetSource(&source);
    std::uint8_t frame[mpegaudio::kMaxFrameBytes16];
    std::uint64_t bytes = 0;
    while (!decoder->IsEndOfStream()) {
      std::uint32_t written = 0;
      decoder->DecodeFrame(frame, sizeof frame, written);
      bytes += written;
    }
    benchmark::DoNotOptimize(bytes);
    decoder->Destroy();
    std::fclose(f);
  });
}

void BM_ReaderAlone(benchmark::State& state) {
  std::vector<std::uint8_t> chunk(audioedit::PeakFile::kDecodeChunkBytes);
  Timed(state, readerSeconds, [&] {
    audioedit::Mp3FileReader reader;
    if (!reader.Open(Source())) return state.SkipWithError("open failed");
    std::uint32_t got = 0;
    std::uint64_t bytes = 0;
    while (reader.Read(chunk.data(), static_cast<std::uint32_t>(chunk.size()), got) && got != 0)
      bytes += got;
    benchmark::DoNotOptimize(bytes);
  });
}

void BM_PeakBuild(benchmark::State& state) {
  Timed(state, buildSeconds, [&] {
    audioedit::PeakFile peak;
    if (peak.Build(Source(), 147) != audioedit::PEC_Success) state.SkipWithError("build failed");
    std::remove(peak.PeakPath().c_str());
  });
}

BENCHMARK(BM_DecodeAlone)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ReaderAlone)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PeakBuild)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Source();  // made once, outside the measurements
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (buildSeconds > 0 && decodeSeconds > 0) {
    std::printf("processor time, peak build / decode alone (10 min 128 kbit/s MP3): %.2f\n",
                buildSeconds / decodeSeconds);
    std::printf("processor time, reader / decode alone: %.2f\n", readerSeconds / decodeSeconds);
  }
  return 0;
}
