// The base of a host's sink for _IAudioEditCtlEvents: the object answers the event
// interface, and each event reaches OnControlEvent with its arguments (unsigned 32-bit
// values) in declaration order. Events come from the window thread and, during a build,
// from the loading worker: OnControlEvent must be safe for both.
//
//   class Sink final : public audioedit::ControlEventSink<Sink> {
//    public:
//     void OnControlEvent(com::DISPID id, std::span<const com::ULONG> args) { ... }
//   };
#pragma once

#include <array>
#include <span>

#include "audioedit/control/AudioEditCtlIds.h"
#include "platform/com/AutomationTypes.h"
#include "platform/com/ComObject.h"
#include "platform/com/Dispatch.h"

namespace audioedit {

template <class Derived>
class ControlEventSink : public com::ComObject<Derived, com::IDispatch> {
 public:
  auto Interfaces() {
    return std::array{com::Expose<com::IDispatch>(this, com::IID_IUnknown),
                      com::Expose<com::IDispatch>(this, com::IID_IDispatch),
                      com::Expose<com::IDispatch>(this, DIID__IAudioEditCtlEvents)};
  }
  com::HRESULT GetTypeInfoCount(com::UINT* count) override {
    if (!count) return com::E_POINTER;
    *count = 0;
    return com::S_OK;
  }
  com::HRESULT GetTypeInfo(com::UINT, com::LCID, com::ITypeInfo** info) override {
    if (info) *info = nullptr;
    return com::E_NOTIMPL;
  }
  com::HRESULT GetIDsOfNames(com::REFIID, com::LPOLESTR*, com::UINT, com::LCID,
                             com::DISPID*) override {
    return com::E_NOTIMPL;
  }
  com::HRESULT Invoke(com::DISPID id, com::REFIID, com::LCID, com::WORD, com::DISPPARAMS* params,
                      com::VARIANT*, com::EXCEPINFO*, com::UINT*) override {
    std::array<com::ULONG, 2> args{};
    const com::UINT count = params ? std::min<com::UINT>(params->cArgs, 2) : 0;
    for (com::UINT k = 0; k < count; ++k)  // arguments arrive last first
      args[k] = params->rgvarg[params->cArgs - 1 - k].ulVal;
    static_cast<Derived*>(this)->OnControlEvent(id, std::span<const com::ULONG>(args.data(), count));
    return com::S_OK;
  }

 protected:
  ControlEventSink() = default;
};

}  // namespace audioedit
