// The dispatch interfaces of the track information library and their identities.
#pragma once

#include "info/TrackTypes.h"
#include "platform/com/Dispatch.h"

namespace info {

inline constexpr com::GUID LIBID_INFO = com::MakeGuid("{A682850C-3AF2-4F2D-9E1F-511D422FCA01}");
inline constexpr com::CLSID CLSID_TrackFactory = com::MakeGuid("{F9050B08-7436-49BE-9ED7-AF0D620FD88D}");
inline constexpr com::IID IID_ITrackFactory = com::MakeGuid("{95FDC9B5-72EE-4A37-A50A-1AA836DF3ED1}");
inline constexpr com::IID IID_ITrack = com::MakeGuid("{97FA844A-1E57-4907-BE16-62D21491E1FD}");
inline constexpr com::IID IID_IPictures = com::MakeGuid("{1A7E579E-403F-4ED3-85EE-E9963490FFAC}");

// Member identities for IDispatch::Invoke.
namespace dispid {
inline constexpr com::DISPID kCreateInstance = 1;
inline constexpr com::DISPID kCreateInstanceFromUrl = 2;
inline constexpr com::DISPID kAttribute = 1;
inline constexpr com::DISPID kAttributeSupported = 2;
inline constexpr com::DISPID kEmpty = 3;
inline constexpr com::DISPID kLoad = 4;
inline constexpr com::DISPID kSave = 5;
inline constexpr com::DISPID kInvokeEditDlg = 6;
inline constexpr com::DISPID kItemData = 1;
inline constexpr com::DISPID kCount = 2;
inline constexpr com::DISPID kAdd = 3;
}  // namespace dispid

class ITrackFactory : public com::IDispatch {
 public:
  virtual com::HRESULT CreateInstance(EFormat format, com::IDispatch** track) = 0;
  virtual com::HRESULT CreateInstanceFromUrl(com::BSTR url, com::IDispatch** track) = 0;

 protected:
  ~ITrackFactory() = default;
};

class ITrack : public com::IDispatch {
 public:
  virtual com::HRESULT get_Attribute(EAttribute attribute, com::VARIANT* value) = 0;
  virtual com::HRESULT put_Attribute(EAttribute attribute, com::VARIANT value) = 0;
  virtual com::HRESULT get_AttributeSupported(EAttribute attribute, com::BOOL* supported) = 0;
  virtual com::HRESULT get_Empty(com::BOOL* empty) = 0;
  virtual com::HRESULT Load(com::BSTR location, com::BOOL* loaded) = 0;
  virtual com::HRESULT Save(com::BSTR location, com::BOOL* saved) = 0;
  virtual com::HRESULT InvokeEditDlg(com::SHORT* endCode) = 0;

 protected:
  ~ITrack() = default;
};

class IPictures : public com::IDispatch {
 public:
  virtual com::HRESULT get_ItemData(com::LONG index, com::IUnknown** item) = 0;
  virtual com::HRESULT get_Count(com::LONG* count) = 0;
  virtual com::HRESULT Add(com::IUnknown* item) = 0;

 protected:
  ~IPictures() = default;
};

}  // namespace info
