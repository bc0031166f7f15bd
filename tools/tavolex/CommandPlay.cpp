// `tavolex play AUDIO [--start FRAME] [--seconds N]`: loads the audio file through the audio
// edit control on a headless window, plays it from CD frame FRAME (default 0) through the
// filter graph of the class registry, and prints the control's events as they arrive, one
// per line, in the form `tavolex peaks` uses:
//   event: AudioEditMsg <uMsg> <uParam>      e.g. 7 <ms> for each position tick
//   event: PeakFileProgress <n>
// It stops at the end of the file (the control reports 4 and then 3) or after N seconds.
// The audio goes to the sink TAVOLEX_AUDIO_SINK describes (default autoaudiosink).
// Exit status 0 when it played, 1 when the file cannot be loaded or playback cannot be set
// up or started (with the reason on stderr), 2 on bad usage.
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "audioedit/Pec.h"
#include "audioedit/control/AudioEditCtl.h"
#include "audioedit/control/ControlEventSink.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/registry/Activation.h"
#include "platform/window/HeadlessWindow.h"
#include "tools/tavolex/Commands.h"

namespace tavolex_cli {
namespace {

constexpr const char* kPlayUsage = "usage: tavolex play AUDIO [--start FRAME] [--seconds N]\n";
constexpr double kLongestRunSeconds = 24.0 * 3600.0;

struct PlayOptions {
  std::string audio;
  std::uint32_t startFrame = 0;
  std::optional<double> seconds;
};

int PlayUsage(const std::string& problem) {
  std::fprintf(stderr, "tavolex play: %s\n%s", problem.c_str(), kPlayUsage);
  return 2;
}

bool ParseFrame(const char* text, std::uint32_t& out) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || *text == '-' || value > UINT32_MAX) return false;
  out = static_cast<std::uint32_t>(value);
  return true;
}

bool ParseSeconds(const char* text, double& out) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text, &end);
  if (errno != 0 || end == text || *end != '\0' || !std::isfinite(value) || value <= 0 ||
      value > kLongestRunSeconds)
    return false;
  out = value;
  return true;
}

// The exit status when the command line says no more (usage, --help, --version).
std::optional<int> ParsePlayOptions(int argc, char** argv, PlayOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kPlayUsage, stdout);
      std::fputs(
          "Plays AUDIO through the audio edit control from CD frame FRAME (1/75 s) and\n"
          "prints its events; stops at the end or after N seconds. The audio sink is\n"
          "TAVOLEX_AUDIO_SINK (default autoaudiosink; 'fakesink sync=true' needs no\n"
          "sound device).\n",
          stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("tavolex play %s\n", TAVOLEX_PLAY_VERSION);
      return 0;
    }
    if (arg == "--start" || arg == "--seconds") {
      if (i + 1 >= argc) return PlayUsage("missing value after " + arg);
      const char* value = argv[++i];
      double seconds = 0;
      if (arg == "--start" && !ParseFrame(value, options.startFrame))
        return PlayUsage("--start wants a frame number (0 to 4294967295)");
      if (arg == "--seconds") {
        if (!ParseSeconds(value, seconds)) return PlayUsage("--seconds wants a positive number");
        options.seconds = seconds;
      }
    } else if (arg.rfind("-", 0) == 0 && arg.size() > 1) {
      return PlayUsage("unknown option " + arg);
    } else if (options.audio.empty()) {
      options.audio = arg;
    } else {
      return PlayUsage("more than one audio file given");
    }
  }
  if (options.audio.empty()) return PlayUsage("no audio file given");
  return std::nullopt;
}

// Prints the control's events as they arrive and follows the load and the playback.
class PlaySink final : public audioedit::ControlEventSink<PlaySink> {
 public:
  explicit PlaySink(win::WindowPort& window) : window_(window) {}
  void OnControlEvent(com::DISPID id, std::span<const com::ULONG> args) {
    auto arg = [&](std::size_t k) { return k < args.size() ? args[k] : 0u; };
    {
      std::lock_guard lock(mutex_);
      if (id == audioedit::DISPID_AudioEditMsg) {
        std::printf("event: AudioEditMsg %u %u\n", arg(0), arg(1));
        const std::uint32_t msg = arg(0);
        if (msg == audioedit::AEMSG_EndPeakFile) loaded_ = true;
        if (msg == audioedit::AEMSG_PeakError && arg(1) != 0) loadFailed_ = true;
        if (msg == audioedit::AEMSG_State_Stopped) stopped_ = true;
        if (msg == audioedit::AEMSG_UpdateDividers && stopped_) ended_ = true;
      } else if (id == audioedit::DISPID_PeakFileProgress) {
        std::printf("event: PeakFileProgress %u\n", arg(0));
      }
      std::fflush(stdout);
    }
    window_.Wake();
  }
  bool LoadOver() const {
    std::lock_guard lock(mutex_);
    return loaded_ || loadFailed_;
  }
  bool Ended() const {
    std::lock_guard lock(mutex_);
    return ended_;
  }

 private:
  win::WindowPort& window_;
  mutable std::mutex mutex_;
  bool loaded_ = false;
  bool loadFailed_ = false;
  bool stopped_ = false;
  bool ended_ = false;
};

int Fail(const std::string& audio, const std::string& reason) {
  std::fprintf(stderr, "tavolex play: '%s': %s\n", audio.c_str(), reason.c_str());
  return 1;
}

// Loads and plays on `window`; the exit status.
int Play(const PlayOptions& options, win::HeadlessWindow& window, audioedit::AudioEditCtl& control,
         PlaySink& sink) {
  const com::Bstr audio = com::Bstr::FromUtf8(options.audio);
  control.LoadAudioFile(audio.Get(), 0, nullptr, 0);
  window.RunUntil([&] { return sink.LoadOver(); }, std::chrono::hours(24));
  window.RunPending();
  com::INT code = 0;
  control.get_ErrorCode(&code);
  if (code != 0 || !control.State().IsAudioFileLoaded())
    return Fail(options.audio, audioedit::PecMessage(code));
  if (com::FAILED(control.PlaybackSetUpResult()))
    return Fail(options.audio, "playback cannot be set up: " + control.PlaybackSetUpError());

  control.put_CurrentFrame(options.startFrame);
  const com::HRESULT hr = control.AudioPlay();
  if (com::FAILED(hr)) {
    char status[16];
    std::snprintf(status, sizeof status, "0x%08X", static_cast<unsigned>(hr));
    return Fail(options.audio, std::string("playback did not start (") + status + ")");
  }
  const auto limit = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::duration<double>(options.seconds.value_or(kLongestRunSeconds)));
  if (!window.RunUntil([&] { return sink.Ended(); }, limit)) control.AudioStop();
  window.RunPending();
  return 0;
}

}  // namespace

int RunPlay(int argc, char** argv) {
  PlayOptions options;
  if (const auto done = ParsePlayOptions(argc, argv, options)) return *done;

  const com::ApartmentScope apartment;  // the filter graph is created through the class registry
  win::HeadlessWindow window(800, 200);
  auto control = com::MakeObject<audioedit::AudioEditCtl>();
  auto sink = com::MakeObject<PlaySink>(window);
  if (!control || !sink) {
    std::fprintf(stderr, "tavolex play: out of memory\n");
    return 1;
  }
  control->Create(window);
  com::ComPtr<com::IConnectionPoint> point;
  com::DWORD cookie = 0;
  if (control->FindConnectionPoint(audioedit::DIID__IAudioEditCtlEvents, point.Put()) !=
          com::S_OK ||
      point->Advise(sink.Get(), &cookie) != com::S_OK) {
    std::fprintf(stderr, "tavolex play: cannot connect to the control's events\n");
    return 1;
  }
  const int status = Play(options, window, *control, *sink);
  point->Unadvise(cookie);
  control->Destroy();
  control = nullptr;
  if (std::fflush(stdout) != 0) return 1;
  return status;
}

}  // namespace tavolex_cli
