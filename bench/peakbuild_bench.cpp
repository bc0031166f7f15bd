// Peak-file build time for a 10-minute 44.1 kHz stereo 16-bit WAV file, against decoding
// the same file through the same reader to nothing. The ratio build / decode is the cost
// of sampling and writing the records on top of decoding.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "audioedit/MediaStreamReader.h"
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

double buildSeconds = 0;
double decodeSeconds = 0;

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
}

void BM_PeakBuild(benchmark::State& state) {
  const std::string& wav = Source();
  Timed(state, buildSeconds, [&] {
    audioedit::PeakFile peak;
    if (peak.Build(wav, 147) != audioedit::PEC_Success) state.SkipWithError("build failed");
    std::remove(peak.PeakPath().c_str());
  });
}

void BM_DecodeOnly(benchmark::State& state) {
  const std::string& wav = Source();
  std::vector<std::uint8_t> chunk(audioedit::PeakFile::kDecodeChunkBytes);
  Timed(state, decodeSeconds, [&] {
    audioedit::MediaStreamReader reader;
    if (!reader.Open(wav)) state.SkipWithError("open failed");
    std::uint32_t got = 0;
    std::uint64_t bytes = 0;
    while (reader.Read(chunk.data(), static_cast<std::uint32_t>(chunk.size()), got) && got != 0)
      bytes += got;
    benchmark::DoNotOptimize(bytes);
  });
}

BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PeakBuild)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (buildSeconds > 0 && decodeSeconds > 0)
    std::printf("peak build / decode alone (10 min 44.1 kHz stereo WAV): %.2f\n",
                buildSeconds / decodeSeconds);
  std::remove(Source().c_str());
  return 0;
}
