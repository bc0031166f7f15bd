// Placeholder until the render command is built.
#include <cstdio>

#include "tools/tavolex/Commands.h"

namespace tavolex_cli {

int RunRender(int, char**) {
  std::fprintf(stderr, "tavolex render: not available in this build\n");
  return 1;
}

}  // namespace tavolex_cli
