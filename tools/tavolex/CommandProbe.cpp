// `tavolex probe IN`: the stream analysis of an MPEG audio file (figures the decoder's
// reader works with), one `key: value` line each.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "audioedit/mp3/InputFile.h"
#include "audioedit/mp3/Mp3SourceAdapter.h"
#include "tools/tavolex/Commands.h"

namespace tavolex_cli {

int RunProbe(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tavolex probe IN\n");
    return 2;
  }
  const std::string path = argv[1];
  audioedit::InputFile file;
  if (!file.Open(path)) {
    std::fprintf(stderr, "tavolex probe: cannot open '%s': %s\n", path.c_str(),
                 std::strerror(errno));
    return 1;
  }
  audioedit::Mp3SourceAdapter adapter;
  if (!adapter.Open(file)) {
    std::fprintf(stderr,
                 "tavolex probe: '%s': no MPEG Layer III stream (no two matching frame headers "
                 "in the first 128 KiB of its audio)\n",
                 path.c_str());
    return 1;
  }
  const mpegaudio::Mp3StreamProperties& p = adapter.Properties();
  std::printf("bitrate: %d\nchannels: %d\nrate: %d\nduration: %d\nisVbr: %d\nhasVbrHeader: %d\n"
              "seekAccurate: %d\n",
              p.bitrate, p.channels, p.samplingRate, p.durationMs, p.isVbr, p.hasVbrHeader,
              p.seekAccurate);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tavolex_cli
