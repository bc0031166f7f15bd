// trackinfo edit: the information dialog for one file, saved when the user presses OK.
#include <iostream>

#include "info/LocationPath.h"
#include "platform/com/Bstr.h"
#include "tools/trackinfo/Commands.h"
#include "tools/trackinfo/InfoLibrary.h"

namespace trackinfo {

namespace {

constexpr int kCancelled = 3;

int Fail(const std::string& message) {
  std::cerr << "trackinfo: " << message << "\n";
  return 1;
}

}  // namespace

int Edit(InfoLibrary& library, const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::cerr << "trackinfo: edit takes one FILE\n";
    return 2;
  }
  const std::string& file = args[0];
  com::ComPtr<info::ITrack> track = library.NewTrackFor(file);
  if (!track) return Fail("the library gave no track for " + file);
  const com::Bstr location(info::LocationFromPath(file));
  com::BOOL loaded = com::FALSE;
  track->Load(location.Get(), &loaded);
  if (loaded != com::TRUE) return Fail("cannot read the attributes of " + file);
  com::SHORT endCode = -1;
  track->InvokeEditDlg(&endCode);
  if (endCode == -1)
    return Fail("cannot open the information dialog for " + file + " (no display)");
  if (endCode != 1) return kCancelled;
  com::BOOL saved = com::FALSE;
  track->Save(location.Get(), &saved);
  if (saved != com::TRUE) return Fail("cannot save the attributes into " + file);
  return 0;
}

}  // namespace trackinfo
