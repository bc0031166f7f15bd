// The track of a Windows Media file. Its attributes are reached through the Windows Media
// runtime, which this build does not have yet: Load and Save report FALSE, as on a machine
// without the runtime.
#pragma once

#include "info/Track.h"

namespace info {

class WmTrack final : public Track {
 public:
  explicit WmTrack(com::ModuleLock* module = nullptr) : Track(module) {}

  // 1 for the attributes with a Windows Media attribute name: eaPictures..eaAuthor.
  com::HRESULT get_AttributeSupported(EAttribute attribute, com::BOOL* supported) override;
  com::HRESULT Load(com::BSTR location, com::BOOL* loaded) override;
  com::HRESULT Save(com::BSTR location, com::BOOL* saved) override;
};

}  // namespace info
