// trackinfo: shows and changes the attributes of MPEG audio files through the track
// information library.
#include <iostream>
#include <string>
#include <vector>

#include "tools/trackinfo/Commands.h"
#include "tools/trackinfo/InfoLibrary.h"

namespace {

int Usage() {
  std::cerr << "usage: trackinfo show FILE [FILE...]\n"
               "       trackinfo set FILE eaName=value [eaName=value...]\n"
               "       trackinfo pictures FILE DIR\n"
               "       trackinfo edit FILE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2) return Usage();
  const std::string& command = args[0];
  if (!(command == "show" || (command == "set" && args.size() >= 3) || (command == "pictures" && args.size() == 3) ||
        (command == "edit" && args.size() == 2)))
    return Usage();
  trackinfo::InfoLibrary library;
  if (!library.Open()) {
    std::cerr << "trackinfo: " << library.error() << "\n";
    return 1;
  }
  if (command == "show") return trackinfo::Show(library, {args.begin() + 1, args.end()});
  if (command == "set") return trackinfo::Set(library, args[1], {args.begin() + 2, args.end()});
  if (command == "edit") return trackinfo::Edit(library, args[1]);
  return trackinfo::ExtractPictures(library, args[1], args[2]);
}
