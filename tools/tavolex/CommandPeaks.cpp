// Placeholder until the peaks command is built.
#include <cstdio>

#include "tools/tavolex/Commands.h"

namespace tavolex_cli {

int RunPeaks(int, char**) {
  std::fprintf(stderr, "tavolex peaks: not available in this build\n");
  return 1;
}

}  // namespace tavolex_cli
