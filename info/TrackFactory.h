// The library's one creatable object: it makes tracks.
#pragma once

#include "info/InfoDispatch.h"
#include "platform/com/ComObject.h"

namespace info {

class TrackFactory final : public com::ComObject<TrackFactory, TrackFactoryDispatch> {
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


 private:
  friend class com::ComObject<TrackFactory, TrackFactoryDispatch>;
  ~TrackFactory() = default;

  com::ModuleLock* module_;
};

}  // namespace info
