// The track of a Windows Media file (.wma, .wmv). Its attributes are read and written through
// the Windows Media runtime (libwmvcore.so), loaded for each Load and Save. Without the
// runtime, or for a file the runtime cannot open, Load and Save report FALSE.
#pragma once

#include <string>

#include "info/Track.h"

namespace info {

class WmTrack final : public Track {
 public:
  // `runtimeLibrary`: where the runtime is; empty looks beside this library, then on the
  // library path.
  explicit WmTrack(com::ModuleLock* module = nullptr, std::string runtimeLibrary = {})
      : Track(module), runtimeLibrary_(std::move(runtimeLibrary)) {}

  // 1 for the attributes with a Windows Media attribute name.
  com::HRESULT get_AttributeSupported(EAttribute attribute, com::BOOL* supported) override;
  // Stores eaLocation, then eaDuration (ms), eaBitrate (bit/s) and every named attribute with
  // a non-empty text, in table order.
  com::HRESULT Load(com::BSTR location, com::BOOL* loaded) override;
  // Writes every text attribute with a name whose text differs from the file's as a string
  // ("Author" from eaAuthor last); unchanged values keep their type in the file.
  com::HRESULT Save(com::BSTR location, com::BOOL* saved) override;

 private:
  std::string runtimeLibrary_;
};

}  // namespace info
