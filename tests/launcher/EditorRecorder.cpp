// Stands in for the desktop editor in the demo wizard's tests: appends its arguments, one per
// line, to the file $EDITOR_RECORD and exits with the status $EDITOR_EXIT (0 when unset).
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (const char* record = std::getenv("EDITOR_RECORD")) {
    if (std::FILE* f = std::fopen(record, "a")) {
      for (int i = 1; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
      std::fclose(f);
    }
  }
  const char* status = std::getenv("EDITOR_EXIT");
  return status != nullptr ? std::atoi(status) : 0;
}
