#include "info/WmTrack.h"

#include "platform/com/Bstr.h"

namespace info {

com::HRESULT WmTrack::get_AttributeSupported(EAttribute attribute, com::BOOL* supported) {
  if (supported == nullptr) return com::E_POINTER;
  *supported = attribute >= eaPictures && attribute <= eaAuthor ? com::TRUE : com::FALSE;
  return attribute >= eaBegin && attribute <= eaEnd ? com::S_OK : com::E_INVALIDARG;
}

com::HRESULT WmTrack::Load(com::BSTR location, com::BOOL* loaded) {
  if (loaded == nullptr) return com::E_POINTER;
  attributes().Clear();
  attributes().Set(eaLocation, com::Variant::FromString({location ? location : u"", com::SysStringLen(location)}));
  *loaded = com::FALSE;  // no Windows Media runtime
  return com::S_OK;
}

com::HRESULT WmTrack::Save(com::BSTR, com::BOOL* saved) {
  if (saved == nullptr) return com::E_POINTER;
  *saved = com::FALSE;  // no Windows Media runtime
  return com::S_OK;
}

}  // namespace info
