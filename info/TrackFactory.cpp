#include "info/TrackFactory.h"

#include "info/MpegTrack.h"
#include "info/WmTrack.h"

namespace info {

namespace {

template <class T>
com::IDispatch* NewTrack(com::ModuleLock* module) {
  com::ComPtr<Track> track = com::MakeObject<T>(module);
  return static_cast<ITrack*>(track.Detach());
}

}  // namespace

com::HRESULT TrackFactory::CreateInstance(EFormat format, com::IDispatch** track) {
  if (track == nullptr) return com::E_POINTER;
  *track = nullptr;
  if (format == efMPEG) *track = NewTrack<MpegTrack>(module_);
  if (format == efWM) *track = NewTrack<WmTrack>(module_);
  return com::S_OK;
}

com::HRESULT TrackFactory::CreateInstanceFromUrl(com::BSTR, com::IDispatch** track) {
  return CreateInstance(efWM, track);
}

}  // namespace info
