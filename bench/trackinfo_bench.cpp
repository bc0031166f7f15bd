// Loading the attributes of 1000 tagged MP3 files: `trackinfo show` against `mid3v2 -l`
// (mutagen) on the same files in the same run. Each tool is started once with all files.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "bench/ChildProcess.h"

namespace {

constexpr int kFiles = 1000;
const std::string kDir = std::string(TEST_DATA_DIR) + "/info/bench";
double g_seconds[2] = {0, 0};

std::vector<std::string> Files() {
  std::vector<std::string> files;
  for (int i = 0; i < kFiles; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/track%04d.mp3", i);
    files.push_back(kDir + name);
  }
  return files;
}

void EnsureFiles() {
  if (std::filesystem::exists(Files().back())) return;
  std::fprintf(stderr, "making %d tagged files in %s ...\n", kFiles, kDir.c_str());
  const std::string command = "/usr/bin/python3 " + std::string(PROJECT_SOURCE_DIR) +
                              "/scripts/make_info_fixtures.py " + TEST_DATA_DIR + "/info --bench " +
                              std::to_string(kFiles);
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cannot make the files\n");
}

// Runs argv with stdout and stderr on /dev/null; true when it exits with 0.
bool RunQuietly(std::vector<std::string> args) {
  return bench_support::RunChild(std::move(args)).Succeeded();
}

void Measure(benchmark::State& state, std::vector<std::string> command, int slot) {
  EnsureFiles();
  for (const std::string& file : Files()) command.push_back(file);
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!RunQuietly(command)) state.SkipWithError("the command failed");
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(spent.count());
    total += spent.count();
  }
  g_seconds[slot] = total / static_cast<double>(state.iterations());
  state.counters["files"] = kFiles;
}

void BM_TrackinfoShow(benchmark::State& state) {
  Measure(state, {std::string(PROJECT_BIN_DIR) + "/trackinfo", "show"}, 0);
}
void BM_Mid3v2List(benchmark::State& state) { Measure(state, {"/usr/bin/python3", "/usr/bin/mid3v2", "-l"}, 1); }

BENCHMARK(BM_TrackinfoShow)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mid3v2List)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_seconds[0] > 0 && g_seconds[1] > 0) {
    std::printf("mid3v2 -l / trackinfo show time ratio over %d files: %.1f\n", kFiles, g_seconds[1] / g_seconds[0]);
    std::printf("trackinfo show / mid3v2 -l time ratio over %d files: %.2f (goal: at most 0.25)\n", kFiles,
                g_seconds[0] / g_seconds[1]);
  }
  return 0;
}
