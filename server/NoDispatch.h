// For objects whose interface derives from IDispatch but that offer no late-bound calls:
// the four IDispatch members answer that there is nothing to dispatch.
//
//   class Wizard final : public com::ComObject<Wizard, server::NoDispatch<IDiscWizard>> { ... };
#pragma once

#include "platform/com/Dispatch.h"

namespace server {

template <class Interface>
class NoDispatch : public Interface {
 public:
  com::HRESULT GetTypeInfoCount(com::UINT* count) override {
    if (count == nullptr) return com::E_POINTER;
    *count = 0;
    return com::S_OK;
  }
  com::HRESULT GetTypeInfo(com::UINT, com::LCID, com::ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return com::E_NOTIMPL;
  }
  com::HRESULT GetIDsOfNames(com::REFIID, com::LPOLESTR*, com::UINT, com::LCID,
                             com::DISPID*) override {
    return com::E_NOTIMPL;
  }
  com::HRESULT Invoke(com::DISPID, com::REFIID, com::LCID, com::WORD, com::DISPPARAMS*,
                      com::VARIANT*, com::EXCEPINFO*, com::UINT*) override {
    return com::E_NOTIMPL;
  }

 protected:
  ~NoDispatch() = default;
};

}  // namespace server
