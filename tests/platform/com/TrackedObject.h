// A dispatch object for tests that tells how many references it holds. Its value property
// (DISPID_VALUE) reads as the long it was made with.
#pragma once

#include "platform/com/ComObject.h"
#include "platform/com/Dispatch.h"

namespace com::test {

class TrackedObject final : public ComObject<TrackedObject, IDispatch> {
 public:
  explicit TrackedObject(LONG value = 0) : value_(value) {}

  auto Interfaces() {
    return std::array{Expose<IDispatch>(this, IID_IUnknown), Expose<IDispatch>(this, IID_IDispatch)};
  }
  // References currently held (this call's own pair excluded).
  ULONG Refs() {
    AddRef();
    return Release();
  }

  HRESULT GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                 UINT*) override {
    if (id != DISPID_VALUE || !(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (result) {
      result->vt = VT_I4;
      result->lVal = value_;
    }
    return S_OK;
  }

 private:
  LONG value_;
};

}  // namespace com::test
