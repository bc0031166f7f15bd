// `tavolex`: command-line access to the audio editing library (decoder, stream analysis,
// peak files and rendering). argv[1] names the subcommand; the rest is the subcommand's.
#include <cstdio>
#include <cstring>

#include "tools/tavolex/Commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(int, char**);
  const char* usage;
};

constexpr Command kCommands[] = {
    {"decode", tavolex_cli::RunDecode, "decode [--float] IN OUT"},
    {"probe", tavolex_cli::RunProbe, "probe IN"},
    {"peaks", tavolex_cli::RunPeaks, "peaks AUDIO [--interval N] [--peak-file PATH] [--keep]"},
    {"render", tavolex_cli::RunRender,
     "render AUDIO --png OUT.png [--size WxH] [--zoom Z] [--scroll COLUMN] "
     "[--divider KIND:FRAME ...] [--current FRAME]"},
    {"play", tavolex_cli::RunPlay, "play AUDIO [--start FRAME] [--seconds N]"},
    {"cue", tavolex_cli::RunCue, "cue AUDIO [--divider KIND:FRAME ...] [--out FILE] [--strict]"},
};

int Usage() {
  std::fprintf(stderr, "usage:\n");
  for (const Command& c : kCommands) std::fprintf(stderr, "  tavolex %s\n", c.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "tavolex: unknown command '%s'\n", argv[1]);
  return Usage();
}
