// Subcommands of the `tavolex` command-line tool. Each lives in its own Command*.cpp.
// Exit status: 0 success, 1 failure (one line on stderr), 2 bad usage, 128 + N when signal
// N (SIGINT, SIGTERM, SIGHUP) stopped it.
#pragma once

namespace tavolex_cli {

int RunDecode(int argc, char** argv);  // tavolex decode [--float] IN OUT
int RunProbe(int argc, char** argv);   // tavolex probe IN [--json]
int RunPeaks(int argc, char** argv);   // tavolex peaks AUDIO [...] [--json]
int RunRender(int argc, char** argv);  // tavolex render AUDIO --png OUT.png [...]
int RunPlay(int argc, char** argv);    // tavolex play AUDIO [--start FRAME] [--seconds N]
int RunCue(int argc, char** argv);     // tavolex cue AUDIO [--divider KIND:FRAME ...] [...]

}  // namespace tavolex_cli
