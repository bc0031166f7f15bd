// Placeholder until the probe command is built.
#include <cstdio>

#include "tools/tavolex/Commands.h"

namespace tavolex_cli {

int RunProbe(int, char**) {
  std::fprintf(stderr, "tavolex probe: not available in this build\n");
  return 1;
}

}  // namespace tavolex_cli
