// tavolex render AUDIO --png OUT.png [--size WxH] [--zoom Z] [--scroll COLUMN]
//                      [--divider KIND:FRAME ...] [--current FRAME]
//
// Loads the audio file into the audio edit control on a window without a screen of the
// given client size (default 800 × 200) and writes what the window shows as a PNG. KIND is start,
// end, split or index; without --divider the view gets a start at frame 0 and an end at the last
// frame. --zoom sets the zoom factor, --scroll the first visible column; without --scroll a zoomed
// view is centred on --current, which also shows the current mark. The picture is at most
// kMaxPixels; the PNG replaces OUT.png only once it is complete. SIGINT, SIGTERM and SIGHUP
// cancel the load and end the command with 128 + the signal number.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "audioedit/Pec.h"
#include "audioedit/control/AudioEditCtl.h"
#include "audioedit/control/ControlEventSink.h"
#include "audioedit/control/ControlRecords.h"
#include "audioedit/control/ControlView.h"
#include "audioedit/view/WaveView.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/com/SafeArray.h"
#include "platform/fileio/InputOpen.h"
#include "platform/fileio/OutputFile.h"
#include "platform/gdi/PngWriter.h"
#include "platform/window/HeadlessWindow.h"
#include "tools/tavolex/Commands.h"
#include "tools/tavolex/SignalWatcher.h"
#include "tools/tavolex/ToolInput.h"

namespace tavolex_cli {
namespace {

using audioedit::AUDIO_INFO;
using audioedit::DIVIDER;

// The picture is held several times while it is drawn (surface, cache, copy, PNG rows):
// 16 Mpixel keep that within a few hundred MB.
constexpr std::uint64_t kMaxPixels = 16u << 20;

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
      !ParseNumber(text.substr(x + 1), 16384, &h) || w < 2 || h < 44 || w * h > kMaxPixels) {
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
      if (!ParseSize(argv[++i], &o->width, &o->height))
        return Usage(
            "bad --size (WxH, at least 2x44, at most 16384 a side and 16777216 pixels "
            "in all, e.g. 8192x2048)");
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
        if (!ParseDivider(argv[++i], &d))
          return Usage("bad --divider (start|end|split|index:FRAME)");
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

// Follows the control's events: shows the build's progress on a terminal (whenever the
// whole percent changes) and tells when the load is over and how it ended.
class LoadSink final : public audioedit::ControlEventSink<LoadSink> {
 public:
  explicit LoadSink(win::WindowPort& window) : window_(window), show_(isatty(STDERR_FILENO) != 0) {}
  void OnControlEvent(com::DISPID id, std::span<const com::ULONG> args) {
    if (args.empty()) return;
    const com::ULONG first = args[0];
    const com::ULONG second = args.size() > 1 ? args[1] : 0;
    if (id == audioedit::DISPID_PeakFileProgress && show_ && first != lastProgress_) {
      lastProgress_ = first;
      std::fprintf(stderr, "\rbuilding peak file: %u%%", first > 100 ? 100u : first);
    }
    if (id == audioedit::DISPID_AudioEditMsg &&
        (first == audioedit::AEMSG_EndPeakFile ||
         (first == audioedit::AEMSG_PeakError && second != 0))) {
      if (show_ && lastProgress_ != 0) std::fputs("\n", stderr);
      done_ = true;
    }
    window_.Wake();
  }
  bool Done() const { return done_; }

 private:
  win::WindowPort& window_;
  const bool show_;
  std::atomic<com::ULONG> lastProgress_{0};
  std::atomic<bool> done_{false};
};

com::SafeArrayPtr DividerArray(const std::vector<DIVIDER>& dividers) {
  com::SafeArrayPtr array(com::SafeArrayCreateVectorEx(
      com::VT_RECORD, 0, static_cast<com::ULONG>(dividers.size()), com::RecordInfoOf<DIVIDER>()));
  for (com::LONG i = 0; array && i < static_cast<com::LONG>(dividers.size()); ++i) {
    DIVIDER d = dividers[static_cast<std::size_t>(i)];
    com::SafeArrayPutElement(array.get(), &i, &d);
  }
  return array;
}

// Loads the audio file into the control and waits for the end of the load. 0, or the PEC
// code of a failed load.
std::int32_t LoadIntoControl(audioedit::AudioEditCtl& control, win::HeadlessWindow& window,
                             const SignalWatcher& signals, const RenderOptions& options) {
  auto sink = com::MakeObject<LoadSink>(window);
  com::ComPtr<com::IConnectionPoint> point;
  com::DWORD cookie = 0;
  if (!sink ||
      control.FindConnectionPoint(audioedit::DIID__IAudioEditCtlEvents, point.Put()) != com::S_OK ||
      point->Advise(sink.Get(), &cookie) != com::S_OK) {
    return audioedit::PEC_UnknownAudioFormat;
  }
  const com::Bstr audio = PathBstr(options.audio);
  if (options.dividers.empty()) {
    control.LoadAudioFile(audio.Get(), 0, nullptr, 0);
  } else {
    std::vector<DIVIDER> sorted = options.dividers;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const DIVIDER& a, const DIVIDER& b) { return a.frame < b.frame; });
    const com::SafeArrayPtr array = DividerArray(sorted);
    control.LoadAudioFileDividers(audio.Get(), 0, nullptr, 0, array.get());
  }
  const bool finished = WaitForLoad(control, window, signals, [&] { return sink->Done(); });
  window.RunPending();
  point->Unadvise(cookie);
  if (!finished) return audioedit::PEC_LoadingCanceled;
  com::INT code = 0;
  control.get_ErrorCode(&code);
  return code;
}

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
  const long long left =
      r.left + 2 +
      (track - thumb) * (info.pos - info.min) / std::max<long long>(1, span - info.page);
  dc.FillRect(
      gdi::RECT{static_cast<int>(left), r.top + 3, static_cast<int>(left + thumb), r.bottom - 3},
      gdi::Brush(gdi::RGB(0x90, 0x90, 0x90)));
}

// Writes the picture beside OUT.png and puts it in place. 0, or the exit status.
int SavePicture(const gdi::Bitmap& shown, const RenderOptions& options,
                const SignalWatcher& signals) {
  fileio::OutputFile out(options.png);
  if (!out.Open()) {
    std::fprintf(stderr, "tavolex render: %s\n", out.Error().c_str());
    return 1;
  }
  std::string error;
  if (!gdi::WritePng(shown, out.TemporaryPath(), &error)) {
    std::fprintf(stderr, "tavolex render: cannot write '%s': %s\n", options.png.c_str(),
                 error.c_str());
    return 1;
  }
  if (signals.Received() != 0) return signals.ExitStatus();
  if (!out.Commit()) {
    std::fprintf(stderr, "tavolex render: %s\n", out.Error().c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int RunRender(int argc, char** argv) {
  RenderOptions options;
  if (const int usage = ParseOptions(argc, argv, &options); usage != 0) return usage;
  if (const fileio::UniqueFd in = fileio::OpenRegularInput(options.audio);
      in.IsOpen() && fileio::IsSameFile(in.Get(), options.png)) {
    std::fprintf(stderr,
                 "tavolex render: '%s' and '%s' are the same file; not overwriting the "
                 "input\n",
                 options.audio.c_str(), options.png.c_str());
    return 1;
  }

  win::HeadlessWindow window(options.width, options.height);
  // Before the control: its loading threads inherit the blocked signals.
  const SignalWatcher signals([&window](int) { window.Wake(); });
  auto control = com::MakeObject<audioedit::AudioEditCtl>();
  if (!control) {
    std::fprintf(stderr, "tavolex render: out of memory\n");
    return 1;
  }
  control->Create(window);
  const std::int32_t code = LoadIntoControl(*control, window, signals, options);
  if (signals.Received() != 0) {
    control->Destroy();
    std::fprintf(stderr, "tavolex render: '%s': stopped by signal %d\n", options.audio.c_str(),
                 signals.Received());
    return signals.ExitStatus();
  }
  if (code != audioedit::PEC_Success) {
    std::fprintf(stderr, "tavolex render: %s\n",
                 LoadFailure(options.audio, code, "cannot load ").c_str());
    control->Destroy();
    return 1;
  }
  audioedit::view::WaveView& view = control->View().Wave();
  if (options.current) control->Dividers().ShowCurrentMark(*options.current);
  control->put_CurrentZoom(options.zoom);
  if (options.scroll) {
    view.ScrollToColumn(static_cast<std::uint64_t>(*options.scroll), false);
  } else if (options.current) {
    view.ScrollToColumn(view.Mapping().AbsoluteColumnOfFrame(*options.current), true);
  }
  window.InvalidateRect(nullptr, true);
  window.RunPending();

  // The control's pixels with the scroll bar child over its strip.
  const gdi::Bitmap& surface = control->View().Surface();
  gdi::Bitmap shown(surface.Width(), surface.Height());
  std::copy(surface.Pixels().begin(), surface.Pixels().end(), shown.Pixels().begin());
  PaintScrollBar(shown, window.HorizontalScrollBar());
  control->Destroy();
  return SavePicture(shown, options, signals);
}

}  // namespace tavolex_cli
