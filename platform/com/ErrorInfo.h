// Rich error information: an object that failed a call may leave a description for the
// caller on the calling thread.
#pragma once

#include <string_view>

#include "platform/com/AutomationTypes.h"
#include "platform/com/ComPtr.h"

namespace com {

inline constexpr IID IID_ISupportErrorInfo = MakeGuid("{DF0B3D60-548F-101B-8E65-08002B2BD119}");
inline constexpr IID IID_IErrorInfo = MakeGuid("{1CF2B120-547D-101B-8E65-08002B2BD119}");

class ISupportErrorInfo : public IUnknown {
 public:
  // S_OK when failures of interface `riid` leave error information, S_FALSE otherwise.
  virtual HRESULT InterfaceSupportsErrorInfo(REFIID riid) = 0;

 protected:
  ~ISupportErrorInfo() = default;
};

class IErrorInfo : public IUnknown {
 public:
  virtual HRESULT GetGUID(GUID* pGUID) = 0;
  virtual HRESULT GetSource(BSTR* pBstrSource) = 0;
  virtual HRESULT GetDescription(BSTR* pBstrDescription) = 0;
  virtual HRESULT GetHelpFile(BSTR* pBstrHelpFile) = 0;
  virtual HRESULT GetHelpContext(DWORD* pdwHelpContext) = 0;

 protected:
  ~IErrorInfo() = default;
};

// Replaces the calling thread's error information (null clears it).
HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info);
// Hands over the calling thread's error information and clears it; S_FALSE and null when
// there is none.
HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info);

// A fixed error information object.
ComPtr<IErrorInfo> CreateErrorInfo(REFGUID iid, std::u16string_view source,
                                   std::u16string_view description,
                                   std::u16string_view helpFile = {}, DWORD helpContext = 0);

// Sets the thread's error information for a failure of interface `iid` and returns `hr`,
// for `return ReportError(...)` in a failing method.
HRESULT ReportError(REFGUID iid, std::u16string_view source, std::u16string_view description,
                    HRESULT hr);

// Fills `info` (whose strings must be unset) with `hr` and the thread's error information,
// taking that information; a failure without information gets only its code.
void FillExcepInfo(EXCEPINFO* info, HRESULT hr);
// Frees the strings of an EXCEPINFO and resets it.
void ClearExcepInfo(EXCEPINFO* info);

}  // namespace com
