// The track information library, loaded from libInfo.so beside this program's folder
// (build/lib for build/bin), reached through its class factory as any host would.
#pragma once

#include <string>

#include "info/InfoInterfaces.h"
#include "platform/com/ComPtr.h"

namespace trackinfo {

class InfoLibrary {
 public:
  InfoLibrary() = default;
  ~InfoLibrary();
  InfoLibrary(const InfoLibrary&) = delete;
  InfoLibrary& operator=(const InfoLibrary&) = delete;

  // Loads the library and asks it for a TrackFactory; error() says why when it fails.
  bool Open();
  // A new MPEG track, or null.
  com::ComPtr<info::ITrack> NewMpegTrack();
  // A new track of the kind `file` needs by its name: Windows Media for .wma and .wmv (any
  // case), else MPEG; null when the library gives none.
  com::ComPtr<info::ITrack> NewTrackFor(const std::string& file);
  // True for the names NewTrackFor gives a Windows Media track.
  static bool IsWindowsMediaName(const std::string& file);
  const std::string& error() const { return error_; }

 private:
  void* handle_ = nullptr;
  com::ComPtr<info::ITrackFactory> factory_;
  std::string error_;
};

}  // namespace trackinfo
