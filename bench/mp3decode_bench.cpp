// Decode speed against mpg123 in the same run, on three 5-minute joint-stereo files made by
// scripts/make_mp3_fixtures.sh --bench on first use (44.1 kHz 128 kbit/s, 44.1 kHz VBR -V2,
// 22.05 kHz 64 kbit/s). For each file it runs `tavolex decode FILE /dev/null` and
// `mpg123 -q --no-gapless -s FILE` as child processes, alternating which goes first, and
// prints the median whole-process CPU time (user + system) of each, their ratio, and the
// peak memory of the decode beyond the process baseline.
//
//   bench_mp3decode_bench [--runs N] [--tavolex PATH]... [--in-process] [benchmark options]
// --tavolex (repeatable) times other builds of the tool in the same run, each against the
// same mpg123 runs (default: this build's tavolex); --in-process also times the decoder
// inside this process (Google Benchmark).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/ChildProcess.h"
#include "mpegaudio/Mp3Decoder.h"

namespace {

const std::string kDir = std::string(TEST_DATA_DIR) + "/mpegaudio_bench";
const char* const kStreams[] = {"bench_5min_128k", "bench_5min_vbr_v2", "bench_5min_22050"};

using bench_support::ChildCost;
using bench_support::RunChild;

std::string PathOf(const std::string& stream) { return kDir + "/" + stream + ".mp3"; }

bool EnsureFiles() {
  bool all = true;
  for (const char* s : kStreams) all = all && std::ifstream(PathOf(s)).good();
  if (all) return true;
  return RunChild({"bash", std::string(PROJECT_SOURCE_DIR) + "/scripts/make_mp3_fixtures.sh",
                   "--bench", kDir})
             .status == 0;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

struct Comparison {
  std::vector<double> tavolex;  // per build
  std::vector<long> peakRssKb;  // per build
  double mpg123 = 0;
  bool ok = false;
};

// Each round runs mpg123 and every build once, the order rotating from round to round.
Comparison Compare(const std::string& file, const std::vector<std::string>& builds, int runs) {
  std::vector<std::vector<std::string>> commands;
  commands.push_back({"mpg123", "-q", "--no-gapless", "-s", file});
  for (const std::string& tool : builds) commands.push_back({tool, "decode", file, "/dev/null"});
  const std::size_t n = commands.size();
  std::vector<std::vector<double>> times(n);
  Comparison c;
  c.peakRssKb.assign(builds.size(), 0);
  for (int i = 0; i < runs; ++i) {
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t which = (static_cast<std::size_t>(i) + k) % n;
      const ChildCost cost = RunChild(commands[which]);
      if (!cost.Succeeded()) return c;
      times[which].push_back(cost.cpuSeconds);
      if (which > 0) c.peakRssKb[which - 1] = std::max(c.peakRssKb[which - 1], cost.maxRssKb);
    }
  }
  c.mpg123 = Median(times[0]);
  for (std::size_t b = 1; b < n; ++b) c.tavolex.push_back(Median(times[b]));
  c.ok = true;
  return c;
}

void BM_InProcessDecode(benchmark::State& state, const char* stream) {
  std::ifstream in(PathOf(stream), std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  std::vector<std::uint8_t> out(mpegaudio::kMaxFrameBytes16);
  for (auto _ : state) {
    mpegaudio::Mp3Decoder* d = nullptr;
    mpegaudio::CreateMp3Decoder(&d);
    std::size_t pos = 0;
    std::uint64_t pcm = 0;
    while (!d->IsEndOfStream()) {
      const std::uint32_t n = static_cast<std::uint32_t>(
          std::min<std::size_t>(d->GetFreeInputBytes(), bytes.size() - pos));
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

}  // namespace

int main(int argc, char** argv) {
  int runs = 7;
  bool inProcess = false;
  std::vector<std::string> builds;
  std::vector<char*> rest = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--tavolex") == 0 && i + 1 < argc) {
      builds.emplace_back(argv[++i]);
    } else if (std::strcmp(argv[i], "--in-process") == 0) {
      inProcess = true;
    } else {
      rest.push_back(argv[i]);
    }
  }
  if (!EnsureFiles()) {
    std::fprintf(stderr, "mp3decode_bench: cannot make the benchmark files (sox and lame needed)\n");
    return 1;
  }
  if (builds.empty()) builds.push_back(std::string(PROJECT_BIN_DIR) + "/tavolex");
  std::printf("median CPU time of %d alternating runs (user + system)\n", runs);
  for (std::size_t b = 0; b < builds.size(); ++b) std::printf("build %zu: %s\n", b, builds[b].c_str());
  std::printf("%-20s %5s %10s %10s %8s %10s %14s\n", "stream", "build", "tavolex s", "mpg123 s",
              "ratio", "peak KB", "beyond base KB");
  for (const char* stream : kStreams) {
    const Comparison c = Compare(PathOf(stream), builds, runs);
    if (!c.ok) {
      std::printf("%-20s a command failed\n", stream);
      continue;
    }
    for (std::size_t b = 0; b < builds.size(); ++b) {
      const long baselineKb = RunChild({builds[b]}).maxRssKb;
      std::printf("%-20s %5zu %10.3f %10.3f %8.2f %10ld %14ld\n", stream, b, c.tavolex[b], c.mpg123,
                  c.tavolex[b] / c.mpg123, c.peakRssKb[b], c.peakRssKb[b] - baselineKb);
    }
    std::fflush(stdout);
  }
  if (inProcess) {
    for (const char* stream : kStreams) {
      benchmark::RegisterBenchmark((std::string("InProcessDecode/") + stream).c_str(),
                                   BM_InProcessDecode, stream)
          ->Unit(benchmark::kMillisecond)
          ->Iterations(3);
    }
    int restArgc = static_cast<int>(rest.size());
    benchmark::Initialize(&restArgc, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  }
  return 0;
}
