// A track: one audio file's attributes behind ITrack. The kinds (MpegTrack, WmTrack) differ
// in which attributes they can store and in how they load and save them.
#pragma once

#include "info/AttributeMap.h"
#include "info/InfoDispatch.h"
#include "platform/com/ComObject.h"

namespace info {

class Track : public com::ComObject<Track, TrackDispatch> {
 public:
  auto Interfaces() {
    return std::array{com::Expose<ITrack>(this, com::IID_IUnknown), com::Expose<ITrack>(this, com::IID_IDispatch),
                      com::Expose<ITrack>(this, IID_ITrack)};
  }
  virtual ~Track() = default;

  com::HRESULT get_Attribute(EAttribute attribute, com::VARIANT* value) override;
  com::HRESULT put_Attribute(EAttribute attribute, com::VARIANT value) override;
  com::HRESULT get_Empty(com::BOOL* empty) override;
  com::HRESULT InvokeEditDlg(com::SHORT* endCode) override;


 protected:
  explicit Track(com::ModuleLock* module) : ComObject(module), module_(module) {}
  AttributeMap& attributes() { return attributes_; }
  com::ModuleLock* module() const { return module_; }

 private:
  AttributeMap attributes_;
  com::ModuleLock* module_ = nullptr;
};

}  // namespace info
