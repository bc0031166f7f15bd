// The module object of a component server library: its class table, its lock count (live
// objects plus server locks), the class factories it hands out, and its registration.
//
// A library defines one ComModule as a global and its four exports with
// DEFINE_SERVER_EXPORTS (ServerExports.h). The module is initialised when constructed, that
// is when the library is loaded, and terminated when it is destroyed at unload.
#pragma once

#include <atomic>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/registry/Registry.h"
#include "platform/registry/TypeLibRegistration.h"
#include "server/RegistryScript.h"

namespace server {

// Creates a new object of one class for `riid`, counting it on `module` for its whole life.
using CreateFn = com::HRESULT (*)(com::ModuleLock& module, com::IUnknown* outer, com::REFIID riid,
                                  void** ppv);

struct ClassEntry {
  const com::CLSID* clsid;
  CreateFn create;
};

struct ModuleDescription {
  std::span<const ClassEntry> classes;
  std::span<const std::string_view> scripts;         // run in order; see RegistryScript.h
  std::span<const Replacement> replacements;         // besides MODULE, e.g. APPID, OLEMISC
  const com::TypeLibDescription* typeLib = nullptr;  // modulePath is filled in at registration
};

// CreateFn for a class T derived from com::ComObject whose constructor takes the module lock.
// Aggregation is not supported.
template <class T>
com::HRESULT CreateObject(com::ModuleLock& module, com::IUnknown* outer, com::REFIID riid,
                          void** ppv) {
  if (outer != nullptr) return com::CLASS_E_NOAGGREGATION;
  com::ComPtr<T> object = com::MakeObject<T>(&module);
  if (!object) return com::E_OUTOFMEMORY;
  return object->QueryInterface(riid, ppv);
}

class ComModule final : public com::ModuleLock {
 public:
  explicit ComModule(const ModuleDescription& description);
  ~ComModule();
  ComModule(const ComModule&) = delete;
  ComModule& operator=(const ComModule&) = delete;

  void Lock() noexcept override;
  void Unlock() noexcept override;
  long LockCount() const noexcept { return locks_.load(std::memory_order_acquire); }

  // Releases the class factories; from then on GetClassObject answers E_UNEXPECTED.
  void Terminate();

  // DllGetClassObject: the factory of a class of the table. E_POINTER for a null output,
  // E_UNEXPECTED after Terminate, CLASS_E_CLASSNOTAVAILABLE for another class or when no
  // factory can be made; `*ppv` is null on every failure.
  com::HRESULT GetClassObject(com::REFCLSID clsid, com::REFIID riid, void** ppv);
  // DllCanUnloadNow: S_OK at lock count zero, else S_FALSE.
  com::HRESULT CanUnloadNow() const noexcept;

  // DllRegisterServer / DllUnregisterServer on the registry named by the environment, with
  // %MODULE% the path of the library holding this module.
  com::HRESULT RegisterServer() noexcept;
  com::HRESULT UnregisterServer() noexcept;
  // The same on a given registry and module path. Stops at the first failure and returns it.
  reg::Status UpdateRegistration(reg::Registry& registry, ScriptMode mode,
                                 const std::string& modulePath) const;

 private:
  class Factory;
  com::HRESULT Registration(ScriptMode mode) noexcept;

  ModuleDescription description_;
  std::atomic<long> locks_{0};
  std::mutex mutex_;  // guards initialised_ and factories_
  bool initialised_ = true;
  std::vector<com::ComPtr<com::IClassFactory>> factories_;  // one slot per class, made on demand
};

}  // namespace server
