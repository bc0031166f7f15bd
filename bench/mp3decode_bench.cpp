// Decode speed against mpg123 on the same file in the same run: a 5-minute 44.1 kHz
// stereo 128 kbit/s file (made by scripts/make_mp3_fixtures.sh --bench on first use).
// Measures the CPU time of `tavolex decode FILE /dev/null` and of
// `mpg123 -q --no-gapless -s FILE > /dev/null` as child processes, their peak memory, and
// the in-process decode. Prints the time ratio and the decode's memory beyond the
// process baseline at the end.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/ChildProcess.h"
#include "mpegaudio/Mp3Decoder.h"

namespace {

const std::string kDir = std::string(TEST_DATA_DIR) + "/mpegaudio_bench";
const std::string kFile = kDir + "/bench_5min_128k.mp3";

using bench_support::ChildCost;
using bench_support::RunChild;

bool EnsureFile() {
  if (std::ifstream(kFile).good()) return true;
  return RunChild({"bash", std::string(PROJECT_SOURCE_DIR) + "/scripts/make_mp3_fixtures.sh",
                   "--bench", kDir})
             .status == 0;
}

double g_tavolexSeconds = 0;
double g_mpg123Seconds = 0;
long g_decodeRssKb = 0;
long g_baselineRssKb = 0;

void RunCommand(benchmark::State& state, const std::vector<std::string>& args, double* total,
                long* rss) {
  if (!EnsureFile()) {
    state.SkipWithError("cannot make the benchmark file (sox and lame needed)");
    return;
  }
  double seconds = 0;
  for (auto _ : state) {
    const ChildCost cost = RunChild(args);
    if (cost.status != 0) {
      state.SkipWithError("command failed");
      return;
    }
    state.SetIterationTime(cost.cpuSeconds);
    seconds += cost.cpuSeconds;
    if (rss) *rss = std::max(*rss, cost.maxRssKb);
  }
  *total = seconds / static_cast<double>(state.iterations());
  state.counters["cpu_s"] = *total;
}

void BM_TavolexDecode(benchmark::State& state) {
  RunCommand(state, {std::string(PROJECT_BIN_DIR) + "/tavolex", "decode", kFile, "/dev/null"},
             &g_tavolexSeconds, &g_decodeRssKb);
  g_baselineRssKb = RunChild({std::string(PROJECT_BIN_DIR) + "/tavolex"}).maxRssKb;
  state.counters["peak_rss_kb"] = static_cast<double>(g_decodeRssKb);
}

void BM_Mpg123Decode(benchmark::State& state) {
  RunCommand(state, {"mpg123", "-q", "--no-gapless", "-s", kFile}, &g_mpg123Seconds, nullptr);
}

void BM_InProcessDecode(benchmark::State& state) {
  if (!EnsureFile()) {
    state.SkipWithError("no benchmark file");
    return;
  }
  std::ifstream in(kFile, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  std::vector<std::uint8_t> out(mpegaudio::kMaxFrameBytes16);
  for (auto _ : state) {
    mpegaudio::Mp3Decoder* d = nullptr;
    mpegaudio::CreateMp3Decoder(&d);
    std::size_t pos = 0;
    std::uint64_t pcm = 0;
    while (!d->IsEndOfStream()) {
      const std::uint32_t n = std::min<std::size_t>(d->GetFreeInputBytes(), bytes.size() - pos);
      pos += d->Fill(bytes.data() + pos, n);
      if (pos == bytes.size()) d->SetEndOfInput();
      std::uint32_t written = 0;
      d->DecodeFrame(out.data(), mpegaudio::kMaxFrameBytes16, written);
      pcm += written;
    }
    d->Destroy();
    benchmark::DoNotOptimize(pcm);
  }
}

BENCHMARK(BM_TavolexDecode)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mpg123Decode)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InProcessDecode)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_tavolexSeconds > 0 && g_mpg123Seconds > 0) {
    std::printf("decode CPU time ratio tavolex/mpg123: %.2f (%.3f s / %.3f s)\n",
                g_tavolexSeconds / g_mpg123Seconds, g_tavolexSeconds, g_mpg123Seconds);
  }
  if (g_decodeRssKb > 0) {
    std::printf("peak memory of tavolex decode: %ld KB, baseline %ld KB, beyond baseline %ld KB\n",
                g_decodeRssKb, g_baselineRssKb, g_decodeRssKb - g_baselineRssKb);
  }
  return 0;
}
