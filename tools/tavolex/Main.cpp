// `tavolex`: command-line access to the audio editing library (decoder, stream analysis,
// peak files and rendering). argv[1] names the subcommand; the rest is the subcommand's.
// `-h`/`--help` (usage on stdout) and `--version` work for the tool and every subcommand.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "tools/tavolex/Commands.h"
#include "tools/tavolex/SignalWatcher.h"

namespace {

struct Command {
  const char* name;
  int (*run)(int, char**);
  const char* usage;
  const char* summary;
};

// One line per command.
constexpr Command kCommands[] = {
    {"decode", tavolex_cli::RunDecode, "decode [--float] IN OUT",
     "decodes an MPEG audio file to a 16-bit WAV file (or raw 32-bit floats); OUT is replaced "
     "only when the decode succeeded"},
    {"probe", tavolex_cli::RunProbe, "probe IN [--json]",
     "prints the stream analysis of an MPEG audio file"},
    {"peaks", tavolex_cli::RunPeaks,
     "peaks AUDIO [--interval N] [--peak-file PATH] [--keep] [--json]",
     "loads AUDIO through the control and prints its events, load result and dividers"},
    {"render", tavolex_cli::RunRender,
     "render AUDIO --png OUT.png [--size WxH] [--zoom Z] [--scroll COLUMN] "
     "[--divider KIND:FRAME ...] [--current FRAME]",
     "loads AUDIO into the control and writes what its window shows as a PNG (at most "
     "16777216 pixels)"},
    {"play", tavolex_cli::RunPlay, "play AUDIO [--start FRAME] [--seconds N]",
     "loads AUDIO through the control, plays it from a CD frame and prints its events"},
    {"cue", tavolex_cli::RunCue, "cue AUDIO [--divider KIND:FRAME ...] [--out FILE] [--strict]",
     "writes the track layout as a CUE sheet, with the audio CD warnings"},
};

constexpr const char* kExitStatus =
    "Exit status: 0 success, 1 failure (one line on stderr), 2 bad usage, 128+N after signal N.\n";

int Usage(std::FILE* to, int status) {
  std::fprintf(to, "usage:\n");
  for (const Command& c : kCommands) std::fprintf(to, "  tavolex %s\n", c.usage);
  std::fprintf(to, "  tavolex COMMAND --help | --version\n");
  if (to == stdout) {
    std::fprintf(to, "\n");
    for (const Command& c : kCommands) std::fprintf(to, "%-7s %s\n", c.name, c.summary);
    std::fprintf(to, "\n%s", kExitStatus);
  }
  return status;
}

int Version() {
  std::printf("tavolex %s\n", PROJECT_VERSION);
  return 0;
}

bool IsHelp(std::string_view arg) { return arg == "-h" || arg == "--help"; }

}  // namespace

int main(int argc, char** argv) {
  tavolex_cli::IgnoreFileSizeSignal();
  if (argc < 2) return Usage(stderr, 2);
  const std::string_view first = argv[1];
  if (IsHelp(first)) return Usage(stdout, 0);
  if (first == "--version") return Version();
  for (const Command& c : kCommands) {
    if (first != c.name) continue;
    for (int i = 2; i < argc; ++i) {
      if (IsHelp(argv[i])) {
        std::printf("usage: tavolex %s\n\n%s.\n\n%s", c.usage, c.summary, kExitStatus);
        return 0;
      }
      if (std::strcmp(argv[i], "--version") == 0) return Version();
    }
    return c.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "tavolex: unknown command '%s'\n", argv[1]);
  return Usage(stderr, 2);
}
