// `tavolex probe IN [--json]`: the stream analysis of an MPEG audio file (figures the
// decoder's reader works with), one `key: value` line each, or one JSON object.
#include <cstdio>
#include <cstring>
#include <string>

#include "audioedit/mp3/InputFile.h"
#include "audioedit/mp3/Mp3SourceAdapter.h"
#include "tools/tavolex/Commands.h"
#include "tools/tavolex/JsonText.h"

namespace tavolex_cli {

int RunProbe(int argc, char** argv) {
  std::string path;
  bool json = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--json") == 0 && !json) {
      json = true;
    } else if (path.empty() && std::strncmp(argv[i], "--", 2) != 0) {
      path = argv[i];
    } else {
      path.clear();
      break;
    }
  }
  if (path.empty()) {
    std::fprintf(stderr, "usage: tavolex probe IN [--json]\n");
    return 2;
  }
  audioedit::InputFile file;
  if (!file.Open(path)) {
    std::fprintf(stderr, "tavolex probe: cannot open '%s': %s\n", path.c_str(),
                 file.Error().c_str());
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
  if (json) {
    JsonObject doc;
    doc.String("file", path)
        .Number("bitrate", p.bitrate)
        .Number("channels", p.channels)
        .Number("rate", p.samplingRate)
        .Number("duration", p.durationMs)
        .Bool("isVbr", p.isVbr != 0)
        .Bool("hasVbrHeader", p.hasVbrHeader != 0)
        .Bool("seekAccurate", p.seekAccurate != 0);
    std::printf("%s\n", doc.Text().c_str());
  } else {
    std::printf(
        "bitrate: %d\nchannels: %d\nrate: %d\nduration: %d\nisVbr: %d\nhasVbrHeader: %d\n"
        "seekAccurate: %d\n",
        p.bitrate, p.channels, p.samplingRate, p.durationMs, p.isVbr, p.hasVbrHeader,
        p.seekAccurate);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tavolex_cli
