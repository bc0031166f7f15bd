// Peak-file build time for a 10-minute 44.1 kHz stereo 16-bit WAV file, and for the same
// audio as a 128 kbit/s MPEG file (made with lame when it is installed), each against
// decoding the same file through the same reader to nothing. The ratio build / decode is
// the cost of sampling and writing the records on top of decoding.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "audioedit/AudioReader.h"
#include "audioedit/PeakFile.h"

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kSeconds = 600;

std::string TempDir() {
  const char* env = std::getenv("TMPDIR");
  return env != nullptr && env[0] != '\0' ? env : "/tmp";
}

void PutLe(std::ofstream& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A stereo sweep written once per run.
std::string MakeWav() {
  const std::string path = TempDir() + "/peakbuild_bench_source.wav";
  const std::uint32_t dataBytes = kRate * kSeconds * 4;
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  PutLe(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);
  PutLe(out, 2, 2);
  PutLe(out, kRate, 4);
  PutLe(out, kRate * 4, 4);
  PutLe(out, 4, 2);
  PutLe(out, 16, 2);
  out.write("data", 4);
  PutLe(out, dataBytes, 4);
  std::vector<std::int16_t> second(kRate * 2);
  for (std::uint32_t s = 0; s < kSeconds; ++s) {
    for (std::uint32_t i = 0; i < kRate; ++i) {
      const double t = s + static_cast<double>(i) / kRate;
      second[2 * i] = static_cast<std::int16_t>(20000 * std::sin(t * (200 + s)));
      second[2 * i + 1] = static_cast<std::int16_t>(12000 * std::sin(t * 900));
    }
    out.write(reinterpret_cast<const char*>(second.data()),
              static_cast<std::streamsize>(second.size() * 2));
  }
  return path;
}

const std::string& Source() {
  static const std::string path = MakeWav();
  return path;
}

// The MPEG version of the source, or empty when lame is missing.
const std::string& Mp3Source() {
  static const std::string path = [] {
    const std::string mp3 = TempDir() + "/peakbuild_bench_source.mp3";
    const std::string command = "lame --silent -b 128 '" + Source() + "' '" + mp3 + "'";
    return std::system(command.c_str()) == 0 ? mp3 : std::string();
  }();
  return path;
}

enum Kind { kWav, kMp3 };
double buildSeconds[2] = {};
double decodeSeconds[2] = {};

const std::string& SourceOf(Kind kind) { return kind == kWav ? Source() : Mp3Source(); }

template <typename F>
void Timed(benchmark::State& state, double& mean, F body) {
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    body();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  mean = total / static_cast<double>(state.iterations());
  state.counters["audio_minutes_per_s"] = (kSeconds / 60.0) / mean;
  // Decoding streams through bounded buffers: the process peak stays far below the
  // 106 MB of decoded audio.
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["max_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_PeakBuild(benchmark::State& state, Kind kind) {
  const std::string& path = SourceOf(kind);
  if (path.empty()) {
    state.SkipWithError("no MPEG source (lame missing)");
    return;
  }
  Timed(state, buildSeconds[kind], [&] {
    audioedit::PeakFile peak;
    if (peak.Build(path, 147) != audioedit::PEC_Success) state.SkipWithError("build failed");
    std::remove(peak.PeakPath().c_str());
  });
}

void BM_DecodeOnly(benchmark::State& state, Kind kind) {
  const std::string& path = SourceOf(kind);
  if (path.empty()) {
    state.SkipWithError("no MPEG source (lame missing)");
    return;
  }
  std::vector<std::uint8_t> chunk(audioedit::PeakFile::kDecodeChunkBytes);
  Timed(state, decodeSeconds[kind], [&] {
    std::unique_ptr<audioedit::AudioReader> reader = audioedit::CreateAudioReader(path);
    if (!reader || !reader->Open(path)) state.SkipWithError("open failed");
    std::uint32_t got = 0;
    std::uint64_t bytes = 0;
    while (reader && reader->Read(chunk.data(), static_cast<std::uint32_t>(chunk.size()), got) &&
           got != 0)
      bytes += got;
    benchmark::DoNotOptimize(bytes);
  });
}

BENCHMARK_CAPTURE(BM_DecodeOnly, wav, kWav)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PeakBuild, wav, kWav)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DecodeOnly, mp3, kMp3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PeakBuild, mp3, kMp3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const char* names[] = {"WAV", "MPEG 128 kbit/s"};
  for (int kind : {kWav, kMp3})
    if (buildSeconds[kind] > 0 && decodeSeconds[kind] > 0)
      std::printf("peak build / decode alone, 10 min 44.1 kHz stereo %s: %.2f\n", names[kind],
                  buildSeconds[kind] / decodeSeconds[kind]);
  std::remove(Source().c_str());
  if (!Mp3Source().empty()) std::remove(Mp3Source().c_str());
  return 0;
}
