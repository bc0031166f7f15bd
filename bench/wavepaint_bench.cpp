// Full paint of the waveform of a 74-minute stereo file (44.1 kHz, 147 frames per record:
// 1,332,000 records, 5.3 MB of peak file) in an 800 × 200 view at zoom 1 and zoom 64, and
// a quick repaint from the cached wave. Peers in the same run: reading the same bytes from
// the file alone (seek plus 512,000-byte reads) and a plain memcpy of the same bytes; the
// ratio paint / read is the cost of reducing and drawing on top of the I/O.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/audioedit/view/ViewTestSupport.h"

namespace {

using audioedit::view::testing::MakeInfo;
using audioedit::view::testing::ViewRig;

constexpr std::uint32_t kRecords = 74u * 60u * 44100u / 147u;
constexpr int kWidth = 800;
constexpr int kHeight = 200;

// Tones under slow envelopes, one record per 1/300 s.
std::vector<std::int32_t> SongLikeValues() {
  std::vector<std::int32_t> values;
  values.reserve(2 * static_cast<std::size_t>(kRecords));
  for (std::uint32_t r = 0; r < kRecords; ++r) {
    const double t = r / 300.0;
    const double envelope =
        std::fabs(std::sin(t * 0.5)) * (0.4 + 0.6 * std::fabs(std::sin(t * 0.031)));
    values.push_back(static_cast<std::int32_t>(32000 * envelope * std::sin(r * 0.731)));
    values.push_back(static_cast<std::int32_t>(30000 * envelope * std::sin(r * 1.177 + 1)));
  }
  return values;
}

struct Scene {
  Scene() : rig(kWidth, kHeight) {
    rig.Load(MakeInfo(2, 16, 44100, 147, kRecords), SongLikeValues(), "wavepaint_bench.peaks");
    rig.source.AddDivider(audioedit::DIV_Start, 0);
    rig.source.AddDivider(audioedit::DIV_Split, 100000);
    rig.source.AddDivider(audioedit::DIV_End, 74 * 60 * 75);
    rig.source.currentFrame = 74 * 60 * 75 / 2;
    rig.source.markShown = true;
  }
  ViewRig rig;
};

Scene& SharedScene() {
  static Scene scene;
  return scene;
}

// Bytes the full paint reduces at a zoom: the visible columns' records.
std::int64_t VisibleBytes(const ViewRig& rig) {
  const auto mapping = rig.view.Mapping();
  const std::int64_t records =
      std::min<std::int64_t>(std::int64_t{kWidth + 1} * mapping.PeaksPerColumn(),
                             std::int64_t{kRecords} - mapping.Scroll() * mapping.PeaksPerColumn());
  return records * 4;
}

void FullPaint(benchmark::State& state, std::uint32_t zoom) {
  ViewRig& rig = SharedScene().rig;
  rig.view.ZoomOutFull();
  rig.view.PutCurrentZoom(zoom);
  rig.view.ScrollToMs(37 * 60 * 1000);
  rig.Paint();
  for (auto _ : state) {
    rig.Paint();
    benchmark::DoNotOptimize(rig.window.surface.Pixels().data());
  }
  state.SetBytesProcessed(state.iterations() * VisibleBytes(rig));
  state.counters["bytes_reduced"] = static_cast<double>(VisibleBytes(rig));
  state.counters["P"] = rig.view.Mapping().PeaksPerColumn();
}

void BM_FullPaintZoom1(benchmark::State& state) { FullPaint(state, 1); }
void BM_FullPaintZoom64(benchmark::State& state) { FullPaint(state, 64); }

void BM_QuickRepaint(benchmark::State& state) {
  ViewRig& rig = SharedScene().rig;
  rig.view.ZoomOutFull();
  rig.Paint();
  for (auto _ : state) {
    rig.view.QuickRepaint();
    benchmark::DoNotOptimize(rig.window.surface.Pixels().data());
  }
}

// Peer: the file reads of a zoom-1 paint alone.
void BM_ReadPeakFileOnly(benchmark::State& state) {
  const std::string path = SharedScene().rig.source.PeakFilePath();
  std::vector<char> buffer(512000);
  const int fd = ::open(path.c_str(), O_RDONLY);
  std::int64_t total = 0;
  for (auto _ : state) {
    ::lseek(fd, 28, SEEK_SET);
    total = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) total += n;
    benchmark::DoNotOptimize(buffer.data());
  }
  ::close(fd);
  state.SetBytesProcessed(state.iterations() * total);
}

// Peer: copying the same number of bytes in memory.
void BM_MemcpySameBytes(benchmark::State& state) {
  std::vector<char> from(std::size_t{kRecords} * 4, 1);
  std::vector<char> to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(from.size()));
}

BENCHMARK(BM_FullPaintZoom1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullPaintZoom64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPeakFileOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpySameBytes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
