// The library's one creatable object: it makes tracks.
#pragma once

#include "info/InfoInterfaces.h"
#include "platform/com/ComObject.h"

namespace info {

class TrackFactory final : public com::ComObject<TrackFactory, ITrackFactory> {
 public:
  explicit TrackFactory(com::ModuleLock* module = nullptr) : ComObject(module), module_(module) {}
  auto Interfaces() {
    return std::array{com::Expose<ITrackFactory>(this, com::IID_IUnknown),
                      com::Expose<ITrackFactory>(this, com::IID_IDispatch),
                      com::Expose<ITrackFactory>(this, IID_ITrackFactory)};
  }

  // A new MpegTrack (efMPEG) or WmTrack (efWM); S_OK with null for any other format.
  com::HRESULT CreateInstance(EFormat format, com::IDispatch** track) override;
  // A new, unloaded WmTrack whatever the location names.
  com::HRESULT CreateInstanceFromUrl(com::BSTR url, com::IDispatch** track) override;

  com::HRESULT GetTypeInfoCount(com::UINT* count) override;
  com::HRESULT GetTypeInfo(com::UINT, com::LCID, com::ITypeInfo** info) override;
  com::HRESULT GetIDsOfNames(com::REFIID, com::LPOLESTR* names, com::UINT count, com::LCID,
                             com::DISPID* ids) override;
  com::HRESULT Invoke(com::DISPID member, com::REFIID, com::LCID, com::WORD flags, com::DISPPARAMS* params,
                      com::VARIANT* result, com::EXCEPINFO*, com::UINT*) override;

 private:
  friend class com::ComObject<TrackFactory, ITrackFactory>;
  ~TrackFactory() = default;

  com::ModuleLock* module_;
};

}  // namespace info
