// `tavolex peaks AUDIO [--interval N] [--peak-file PATH] [--keep] [--cue FILE]`: loads the
// audio file (with --cue, the dividers of that CUE sheet) through the audio edit control on a
// headless window and prints, one per line:
//   event: AudioEditMsg <uMsg> <uParam>      each event as it arrives
//   event: PeakFileProgress <n>
//   ErrorCode: N
//   ErrorString: text
//   channels: N / bits: N / freq: N / blockalign: N / duration: N / BPS: N /
//   total_peaks: N / sample_interval: N      the AUDIO_INFO fields
//   PeakFileName: path
//   divider: <DivType value> <frame>          one line per divider
// With --json the same figures come as one JSON object at the end, the events as an array.
// Without --keep the peak file is deleted when the control goes away, at the end of the
// command. Exit status 1 (with a line on stderr) when the load failed; 128 + the signal
// number after SIGINT, SIGTERM or SIGHUP (the load is cancelled, its partial file removed).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "audioedit/Pec.h"
#include "audioedit/control/AudioEditCtl.h"
#include "audioedit/control/ControlEventSink.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/fileio/PathText.h"
#include "platform/window/HeadlessWindow.h"
#include "tools/tavolex/Commands.h"
#include "tools/tavolex/CueFiles.h"
#include "tools/tavolex/JsonText.h"
#include "tools/tavolex/SignalWatcher.h"
#include "tools/tavolex/ToolInput.h"

namespace tavolex_cli {
namespace {

struct PeaksOptions {
  std::string audio;
  long interval = 0;
  std::string peakFile;
  bool keep = false;
  bool json = false;
  std::string cue;  // --cue FILE: the dividers to install
};

int PeaksUsage(const char* problem) {
  std::fprintf(stderr,
               "tavolex peaks: %s\nusage: tavolex peaks AUDIO [--interval N] "
               "[--peak-file PATH] [--keep] [--json] [--cue FILE]\n",
               problem);
  return 2;
}

bool ParseInterval(const char* text, long& out) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
    return false;
  out = value;
  return true;
}

// Returns the exit status of a usage error, or nothing when the options are complete.
std::optional<int> ParsePeaksOptions(int argc, char** argv, PeaksOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--keep") {
      options.keep = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--interval" || arg == "--peak-file" || arg == "--cue") {
      if (i + 1 >= argc) return PeaksUsage(("missing value after " + arg).c_str());
      const char* value = argv[++i];
      if (arg == "--peak-file" || arg == "--cue") {
        (arg == "--cue" ? options.cue : options.peakFile) = value;
      } else if (!ParseInterval(value, options.interval)) {
        return PeaksUsage("--interval wants a whole number");
      }
    } else if (arg.rfind("--", 0) == 0) {
      return PeaksUsage(("unknown option " + arg).c_str());
    } else if (options.audio.empty()) {
      options.audio = arg;
    } else {
      return PeaksUsage("more than one audio file given");
    }
  }
  if (options.audio.empty()) return PeaksUsage("no audio file given");
  return std::nullopt;
}

// Prints the control's events as they arrive (from whichever thread fires them), or keeps
// them for the JSON document, and tells when the load is over.
class PrintingSink final : public audioedit::ControlEventSink<PrintingSink> {
 public:
  PrintingSink(win::WindowPort& window, bool json) : window_(window), json_(json) {}
  void OnControlEvent(com::DISPID id, std::span<const com::ULONG> args) {
    auto arg = [&](std::size_t k) { return k < args.size() ? args[k] : 0u; };
    {
      std::lock_guard lock(mutex_);
      if (id == audioedit::DISPID_AudioEditMsg) {
        if (json_) {
          events_.Add(JsonObject()
                          .String("event", "AudioEditMsg")
                          .Number("uMsg", arg(0))
                          .Number("uParam", arg(1))
                          .Text());
        } else {
          std::printf("event: AudioEditMsg %u %u\n", arg(0), arg(1));
        }
        const bool failed = arg(0) == audioedit::AEMSG_PeakError && arg(1) != 0;
        if (arg(0) == audioedit::AEMSG_EndPeakFile || failed) done_ = true;
      } else if (id == audioedit::DISPID_PeakFileProgress) {
        if (json_) {
          events_.Add(
              JsonObject().String("event", "PeakFileProgress").Number("progress", arg(0)).Text());
        } else {
          std::printf("event: PeakFileProgress %u\n", arg(0));
        }
      }
      std::fflush(stdout);
    }
    window_.Wake();
  }
  bool Done() const {
    std::lock_guard lock(mutex_);
    return done_;
  }
  std::string Events() const {
    std::lock_guard lock(mutex_);
    return events_.Text();
  }

 private:
  win::WindowPort& window_;
  const bool json_;
  mutable std::mutex mutex_;
  bool done_ = false;
  JsonArray events_;
};

// The load's result, read from the control once the load is over.
struct PeaksResult {
  com::INT code = 0;
  std::string errorString;
  audioedit::AUDIO_INFO info{};
  std::uint32_t sampleInterval = 0;
  std::string peakFile;
  std::vector<std::pair<com::LONG, com::ULONG>> dividers;
};

PeaksResult ReadResult(audioedit::AudioEditCtl& control) {
  PeaksResult r;
  control.get_ErrorCode(&r.code);
  com::Bstr text;
  control.get_ErrorString(text.Put());
  r.errorString = text.ToUtf8();
  control.GetAudioInfo(&r.info);
  r.sampleInterval = control.State().Info().sample_interval;
  com::Bstr peak;
  control.get_PeakFileName(peak.Put());
  r.peakFile = fileio::PathFromWide(peak.View()).value_or(peak.ToUtf8());
  if (control.InitEnumDividers() != com::S_OK) return r;
  for (;;) {
    com::LONG type = 0, more = 0;
    com::ULONG frame = 0;
    if (control.GetNextDivider(&type, &frame, &more) != com::S_OK || more == 0) break;
    r.dividers.emplace_back(type, frame);
  }
  return r;
}

void PrintLines(const PeaksResult& r) {
  const audioedit::AUDIO_INFO& info = r.info;
  std::printf("ErrorCode: %d\nErrorString: %s\n", r.code, r.errorString.c_str());
  std::printf(
      "channels: %u\nbits: %u\nfreq: %u\nblockalign: %u\nduration: %u\nBPS: %u\n"
      "total_peaks: %u\nsample_interval: %u\n",
      info.channels, info.bits, info.freq, info.blockalign, info.duration, info.BPS,
      info.total_peaks, r.sampleInterval);
  std::printf("PeakFileName: %s\n", r.peakFile.c_str());
  for (const auto& [type, frame] : r.dividers) std::printf("divider: %d %u\n", type, frame);
}

void PrintJson(const PeaksResult& r, const std::string& audio, const std::string& events) {
  const audioedit::AUDIO_INFO& info = r.info;
  JsonArray dividers;
  for (const auto& [type, frame] : r.dividers)
    dividers.Add(JsonObject().Number("type", type).Number("frame", frame).Text());
  JsonObject doc;
  doc.String("file", audio)
      .Raw("events", events)
      .Number("ErrorCode", r.code)
      .String("ErrorString", r.errorString)
      .Number("channels", info.channels)
      .Number("bits", info.bits)
      .Number("freq", info.freq)
      .Number("blockalign", info.blockalign)
      .Number("duration", info.duration)
      .Number("BPS", info.BPS)
      .Number("total_peaks", info.total_peaks)
      .Number("sample_interval", r.sampleInterval)
      .String("PeakFileName", r.peakFile)
      .Raw("dividers", dividers.Text());
  std::printf("%s\n", doc.Text().c_str());
}

}  // namespace

int RunPeaks(int argc, char** argv) {
  PeaksOptions options;
  if (const auto usage = ParsePeaksOptions(argc, argv, options)) return *usage;
  std::string cueError;
  const com::SafeArrayPtr cueDividers =
      options.cue.empty() ? nullptr : CueDividerArray(options.cue, options.audio, cueError);
  if (!options.cue.empty() && !cueDividers) {
    std::fprintf(stderr, "tavolex peaks: %s\n", cueError.c_str());
    return 1;
  }

  win::HeadlessWindow window(800, 200);
  // Before the control: its loading threads inherit the blocked signals.
  const SignalWatcher signals([&window](int) { window.Wake(); });
  auto control = com::MakeObject<audioedit::AudioEditCtl>();
  auto sink = com::MakeObject<PrintingSink>(window, options.json);
  if (!control || !sink) {
    std::fprintf(stderr, "tavolex peaks: out of memory\n");
    return 1;
  }
  control->Create(window);
  com::ComPtr<com::IConnectionPoint> point;
  com::DWORD cookie = 0;
  if (control->FindConnectionPoint(audioedit::DIID__IAudioEditCtlEvents, point.Put()) !=
          com::S_OK ||
      point->Advise(sink.Get(), &cookie) != com::S_OK) {
    std::fprintf(stderr, "tavolex peaks: cannot connect to the control's events\n");
    return 1;
  }
  window.RunPending();

  const PeaksResult result = ReadResult(*control);
  if (options.json) {
    PrintJson(result, options.audio, sink->Events());
  } else {
    PrintLines(result);
  }
  point->Unadvise(cookie);
  control->Destroy();
  control = nullptr;
  if (std::fflush(stdout) != 0) return 1;
  if (result.code != 0) {
    std::fprintf(stderr, "tavolex peaks: %s\n", LoadFailure(options.audio, result.code).c_str());
    return 1;
  }
  return signals.Received() != 0 ? signals.ExitStatus() : 0;
}

}  // namespace tavolex_cli
