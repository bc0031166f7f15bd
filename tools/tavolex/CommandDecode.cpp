// Placeholder until the decode command is built.
#include <cstdio>

#include "tools/tavolex/Commands.h"

namespace tavolex_cli {

int RunDecode(int, char**) {
  std::fprintf(stderr, "tavolex decode: not available in this build\n");
  return 1;
}

}  // namespace tavolex_cli
