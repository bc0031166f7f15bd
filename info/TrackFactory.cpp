#include "info/TrackFactory.h"

#include "info/DispatchSupport.h"
#include "info/MpegTrack.h"
#include "info/WmTrack.h"

namespace info {

namespace {

constexpr std::array<DispatchMember, 2> kMembers = {{
    {u"CreateInstance", dispid::kCreateInstance},
    {u"CreateInstanceFromUrl", dispid::kCreateInstanceFromUrl},
}};

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

com::HRESULT TrackFactory::GetTypeInfoCount(com::UINT* count) {
  if (count == nullptr) return com::E_POINTER;
  *count = 0;
  return com::S_OK;
}

com::HRESULT TrackFactory::GetTypeInfo(com::UINT, com::LCID, com::ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return com::E_NOTIMPL;
}

com::HRESULT TrackFactory::GetIDsOfNames(com::REFIID, com::LPOLESTR* names, com::UINT count, com::LCID,
                                         com::DISPID* ids) {
  return IdsOfNames(kMembers, names, count, ids);
}

com::HRESULT TrackFactory::Invoke(com::DISPID member, com::REFIID, com::LCID, com::WORD, com::DISPPARAMS* params,
                                  com::VARIANT* result, com::EXCEPINFO*, com::UINT*) {
  if (member != dispid::kCreateInstance && member != dispid::kCreateInstanceFromUrl)
    return com::DISP_E_MEMBERNOTFOUND;
  com::HRESULT hr = ExpectArguments(params, 1);
  if (com::FAILED(hr)) return hr;
  com::IDispatch* track = nullptr;
  if (member == dispid::kCreateInstance) {
    com::LONG format = 0;
    if (com::FAILED(hr = ArgumentLong(params, 0, format))) return hr;
    hr = CreateInstance(static_cast<EFormat>(format), &track);
  } else {
    com::Bstr url;
    if (com::FAILED(hr = ArgumentBstr(params, 0, url))) return hr;
    hr = CreateInstanceFromUrl(url.Get(), &track);
  }
  if (result != nullptr) {
    com::VariantClear(result);
    result->vt = com::VT_DISPATCH;
    result->pdispVal = track;
  } else if (track != nullptr) {
    track->Release();
  }
  return hr;
}

}  // namespace info
