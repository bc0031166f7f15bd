// tavolex render AUDIO --png OUT.png [--size WxH] [--zoom Z] [--scroll COLUMN]
//                      [--divider KIND:FRAME ...] [--current FRAME]
//
// Builds the audio file's peak file, shows it in a waveform view of the given client size
// (default 800 × 200) on a window without a screen, and writes what the window shows as a
// PNG. KIND is start, end, split or index; without --divider the view gets a start at frame
// 0 and an end at the last frame. --zoom sets the zoom factor, --scroll the first visible
// column; without --scroll a zoomed view is centred on --current, which also shows the
// current mark.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audioedit/CdFrames.h"
#include "audioedit/PeakFile.h"
#include "audioedit/view/WaveView.h"
#include "platform/gdi/MemoryDC.h"
#include "platform/gdi/PngWriter.h"
#include "tools/tavolex/Commands.h"

namespace tavolex_cli {
namespace {

using audioedit::AUDIO_INFO;
using audioedit::DIVIDER;

struct RenderOptions {
  std::string audio;
  std::string png;
  int width = 800;
  int height = 200;
  std::uint32_t zoom = 1;
  std::optional<std::int64_t> scroll;
  std::vector<DIVIDER> dividers;
  std::optional<std::uint32_t> current;
};

constexpr struct {
  const char* name;
  audioedit::DivType type;
} kKinds[] = {{"start", audioedit::DIV_Start},
              {"end", audioedit::DIV_End},
              {"split", audioedit::DIV_Split},
              {"index", audioedit::DIV_Index}};

int Usage(const char* why) {
  std::fprintf(stderr,
               "tavolex render: %s\nusage: tavolex render AUDIO --png OUT.png [--size WxH] "
               "[--zoom Z] [--scroll COLUMN] [--divider KIND:FRAME ...] [--current FRAME]\n",
               why);
  return 2;
}

bool ParseNumber(std::string_view text, std::uint64_t limit, std::uint64_t* value) {
  if (text.empty() || text.size() > 19) return false;
  std::uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (v > limit) return false;
  *value = v;
  return true;
}

bool ParseDivider(std::string_view text, DIVIDER* divider) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view kind = text.substr(0, colon);
  std::uint64_t frame = 0;
  if (!ParseNumber(text.substr(colon + 1), 0xFFFFFFFFu, &frame)) return false;
  for (const auto& k : kKinds) {
    if (kind == k.name) {
      *divider = DIVIDER{k.type, 0, static_cast<std::uint32_t>(frame)};
      return true;
    }
  }
  return false;
}

bool ParseSize(std::string_view text, int* width, int* height) {
  const std::size_t x = text.find('x');
  std::uint64_t w = 0, h = 0;
  if (x == std::string_view::npos || !ParseNumber(text.substr(0, x), 16384, &w) ||
      !ParseNumber(text.substr(x + 1), 16384, &h) || w < 2 || h < 44) {
    return false;
  }
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

// 0 when parsed, else the exit status of a usage error.
int ParseOptions(int argc, char** argv, RenderOptions* o) {
  std::uint64_t n = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--png" && hasValue) {
      o->png = argv[++i];
    } else if (arg == "--size" && hasValue) {
      if (!ParseSize(argv[++i], &o->width, &o->height)) return Usage("bad --size (WxH, at least 2x44)");
    } else if (arg == "--zoom" && hasValue) {
      if (!ParseNumber(argv[++i], 1u << 30, &n) || n == 0) return Usage("bad --zoom");
      o->zoom = static_cast<std::uint32_t>(n);
    } else if (arg == "--scroll" && hasValue) {
      if (!ParseNumber(argv[++i], 0x7FFFFFFF, &n)) return Usage("bad --scroll");
      o->scroll = static_cast<std::int64_t>(n);
    } else if (arg == "--current" && hasValue) {
      if (!ParseNumber(argv[++i], 0xFFFFFFFFu, &n)) return Usage("bad --current");
      o->current = static_cast<std::uint32_t>(n);
    } else if (arg == "--divider" && hasValue) {
      while (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) {
        DIVIDER d{};
        if (!ParseDivider(argv[++i], &d)) return Usage("bad --divider (start|end|split|index:FRAME)");
        o->dividers.push_back(d);
      }
    } else if (!arg.starts_with("--") && o->audio.empty()) {
      o->audio = std::string(arg);
    } else {
      return Usage(("unexpected argument '" + std::string(arg) + "'").c_str());
    }
  }
  if (o->audio.empty()) return Usage("no audio file given");
  if (o->png.empty()) return Usage("no --png output given");
  return 0;
}

// Prints the build's progress on a terminal, whenever the whole percent changes.
class ProgressLine final : public audioedit::PeakBuildEvents {
 public:
  ProgressLine() : show_(isatty(STDERR_FILENO) != 0) {}
  ~ProgressLine() override {
    if (show_ && last_ != 0) std::fputs("\n", stderr);
  }
  void OnPeakFileProgress(std::uint32_t progress) override {
    if (!show_ || progress == last_) return;
    last_ = progress;
    std::fprintf(stderr, "\rbuilding peak file: %u%%", progress > 100 ? 100 : progress);
  }

 private:
  bool show_;
  std::uint32_t last_ = 0;
};

// The loaded state the view reads.
class RenderSource final : public audioedit::view::ViewSource {
 public:
  bool HasAudio() const override { return info.total_peaks > 0; }
  AUDIO_INFO AudioInfo() const override { return info; }
  std::string PeakFilePath() const override { return peakPath; }
  void VisitDividers(const DividerVisitor& visit) const override {
    for (const DIVIDER& d : dividers) visit(d, false);
  }
  std::uint32_t CurrentFrame() const override { return current.value_or(0); }
  bool CurrentMarkShown() const override { return current.has_value(); }

  AUDIO_INFO info{};
  std::string peakPath;
  std::vector<DIVIDER> dividers;
  std::optional<std::uint32_t> current;
};

// A window without a screen: its pixels and its scroll bar.
class RenderWindow final : public audioedit::view::ViewWindow {
 public:
  RenderWindow(int width, int height) : surface(width, height) {}
  win::Rect ClientRect() const override { return win::Rect{0, 0, surface.Width(), surface.Height()}; }
  win::ScrollBar& HorizontalScrollBar() override { return scrollBar; }
  void InvalidateAll() override {}
  void DrawOnWindow(const std::function<void(gdi::DeviceContext&)>& draw) override {
    gdi::DeviceContext dc(surface);
    draw(dc);
  }

  gdi::Bitmap surface;
  win::ScrollBarModel scrollBar;
};

// The scroll bar child as a plain picture: a trough with, when enabled, its thumb.
void PaintScrollBar(gdi::Bitmap& surface, const win::ScrollBar& bar) {
  if (!bar.IsVisible()) return;
  gdi::DeviceContext dc(surface);
  const win::Rect r = bar.Placement();
  dc.FillRect(gdi::RECT{r.left, r.top, r.right, r.bottom}, gdi::Brush(gdi::RGB(0xE4, 0xE4, 0xE4)));
  const win::ScrollInfo info = bar.GetInfo();
  const long long span = static_cast<long long>(info.max) - info.min + 1;
  if (!bar.IsEnabled() || span <= 0 || r.Width() <= 4) return;
  const long long track = r.Width() - 4;
  const long long thumb = std::max<long long>(8, track * info.page / span);
  const long long left = r.left + 2 + (track - thumb) * (info.pos - info.min) /
                                          std::max<long long>(1, span - info.page);
  dc.FillRect(gdi::RECT{static_cast<int>(left), r.top + 3, static_cast<int>(left + thumb), r.bottom - 3},
              gdi::Brush(gdi::RGB(0x90, 0x90, 0x90)));
}

}  // namespace

int RunRender(int argc, char** argv) {
  RenderOptions options;
  if (const int usage = ParseOptions(argc, argv, &options); usage != 0) return usage;

  ProgressLine progress;
  audioedit::PeakFile peaks(&progress);
  const audioedit::PEC pec = peaks.Build(options.audio, audioedit::PeakFile::kDefaultSampleInterval);
  if (pec != audioedit::PEC_Success) {
    std::fprintf(stderr, "tavolex render: cannot load '%s': %s\n", options.audio.c_str(),
                 audioedit::PecMessage(pec));
    return 1;
  }
  RenderSource source;
  source.info = peaks.Info();
  source.peakPath = peaks.PeakPath();
  source.current = options.current;
  const std::uint32_t totalFrames = audioedit::TotalFrames(source.info.duration);
  if (options.dividers.empty()) {
    options.dividers = {DIVIDER{audioedit::DIV_Start, 0, 0}, DIVIDER{audioedit::DIV_End, 0, totalFrames}};
  }
  for (DIVIDER& d : options.dividers) d.sample = audioedit::FrameToSample(d.frame, source.info.freq);
  std::stable_sort(options.dividers.begin(), options.dividers.end(),
                   [](const DIVIDER& a, const DIVIDER& b) { return a.frame < b.frame; });
  source.dividers = options.dividers;

  RenderWindow window(options.width, options.height);
  audioedit::view::WaveView view(source, window);
  view.Reset();
  view.PutCurrentZoom(options.zoom);
  if (options.scroll) {
    view.ScrollToColumn(static_cast<std::uint64_t>(*options.scroll), false);
  } else if (options.current) {
    view.ScrollToColumn(view.Mapping().AbsoluteColumnOfFrame(*options.current), true);
  }
  {
    gdi::DeviceContext dc(window.surface);
    view.Paint(dc, gdi::RECT{0, 0, options.width, options.height});
  }
  PaintScrollBar(window.surface, window.scrollBar);
  view.ClosePeakFile();
  std::remove(source.peakPath.c_str());

  std::string error;
  if (!gdi::WritePng(window.surface, options.png, &error)) {
    std::fprintf(stderr, "tavolex render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace tavolex_cli
