// trackinfo: shows and changes the attributes of MPEG audio files through the track
// information library.
#include <array>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/trackinfo/Commands.h"
#include "tools/trackinfo/InfoLibrary.h"

namespace {

constexpr std::string_view kUsage =
    "usage: trackinfo show [--json] FILE [FILE...]\n"
    "       trackinfo set FILE eaName=value [eaName=value...]\n"
    "       trackinfo pictures FILE DIR\n"
    "       trackinfo edit FILE\n"
    "       trackinfo -h | --help | --version\n"
    "\n"
    "show      prints every attribute with a value, one 'eaName: value' line each\n"
    "          (--json: one JSON array of objects)\n"
    "set       loads, puts the UTF-8 values and saves; an empty value removes the frame\n"
    "pictures  writes the attached pictures as DIR/picture-N.bin\n"
    "edit      opens the information dialog and saves on OK (exit 3: cancelled or closed)\n"
    "Exit status: 0 success, 1 failure (one line on stderr), 2 bad usage.\n";

struct Command {
  std::string_view name;
  int (*run)(trackinfo::InfoLibrary&, const std::vector<std::string>&);
};

constexpr std::array<Command, 4> kCommands = {{
    {"show", trackinfo::Show},
    {"set", trackinfo::Set},
    {"pictures", trackinfo::ExtractPictures},
    {"edit", trackinfo::Edit},
}};

int Usage() {
  std::cerr << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
    std::cout << kUsage;
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::cout << "trackinfo " << TRACKINFO_VERSION << "\n";
    return 0;
  }
  if (args.empty()) return Usage();
  for (const Command& command : kCommands) {
    if (args[0] != command.name) continue;
    trackinfo::InfoLibrary library;
    if (!library.Open()) {
      std::cerr << "trackinfo: " << library.error() << "\n";
      return 1;
    }
    return command.run(library, {args.begin() + 1, args.end()});
  }
  return Usage();
}
