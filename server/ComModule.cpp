#include "server/ComModule.h"

#include <exception>
#include <new>

#include "platform/com/CodePage.h"
#include "platform/com/ErrorInfo.h"
#include "server/ModulePath.h"

namespace server {

// The class factory of one class. The module keeps one reference for as long as it lives;
// every reference beyond that one (those handed out to clients) locks the module, so a
// library whose factory is held cannot be unloaded.
class ComModule::Factory final : public com::IClassFactory {
 public:
  Factory(ComModule& module, const ClassEntry& entry) : module_(module), entry_(entry) {}
  Factory(const Factory&) = delete;
  Factory& operator=(const Factory&) = delete;

  com::HRESULT QueryInterface(com::REFIID riid, void** ppv) override {
    if (ppv == nullptr) return com::E_POINTER;
    *ppv = nullptr;
    if (riid != com::IID_IUnknown && riid != com::IID_IClassFactory) return com::E_NOINTERFACE;
    *ppv = static_cast<com::IClassFactory*>(this);
    AddRef();
    return com::S_OK;
  }

  com::ULONG AddRef() override {
    const com::ULONG now = refs_.fetch_add(1, std::memory_order_relaxed) + 1;
    if (now == 2) module_.Lock();
    return now;
  }

  com::ULONG Release() override {
    const com::ULONG now = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (now == 1) module_.Unlock();
    if (now == 0) delete this;
    return now;
  }

  com::HRESULT CreateInstance(com::IUnknown* outer, com::REFIID riid, void** ppv) override {
    if (ppv == nullptr) return com::E_POINTER;
    *ppv = nullptr;
    com::HRESULT hr;
    try {
      hr = entry_.create(module_, outer, riid, ppv);
    } catch (const std::bad_alloc&) {
      hr = com::E_OUTOFMEMORY;
    } catch (...) {
      hr = com::E_UNEXPECTED;
    }
    if (com::FAILED(hr)) *ppv = nullptr;
    return hr;
  }

  com::HRESULT LockServer(com::BOOL lock) override {
    if (lock)
      module_.Lock();
    else
      module_.Unlock();
    return com::S_OK;
  }

 private:
  ~Factory() = default;

  ComModule& module_;
  const ClassEntry entry_;
  std::atomic<com::ULONG> refs_{1};  // the module's reference
};

ComModule::ComModule(const ModuleDescription& description)
    : description_(description), factories_(description.classes.size()) {}

ComModule::~ComModule() { Terminate(); }

void ComModule::Lock() noexcept { locks_.fetch_add(1, std::memory_order_acq_rel); }

void ComModule::Unlock() noexcept { locks_.fetch_sub(1, std::memory_order_acq_rel); }

void ComModule::Terminate() {
  std::vector<com::ComPtr<com::IClassFactory>> factories;
  {
    std::lock_guard lock(mutex_);
    initialised_ = false;
    factories.swap(factories_);
  }
  // Released outside the lock: the last release runs the factory's destructor.
}

com::HRESULT ComModule::GetClassObject(com::REFCLSID clsid, com::REFIID riid, void** ppv) {
  if (ppv == nullptr) return com::E_POINTER;
  *ppv = nullptr;
  std::lock_guard lock(mutex_);
  if (!initialised_) return com::E_UNEXPECTED;
  for (std::size_t i = 0; i < description_.classes.size(); ++i) {
    const ClassEntry& entry = description_.classes[i];
    if (*entry.clsid != clsid) continue;
    if (!factories_[i] && entry.create != nullptr)
      factories_[i] =
          com::ComPtr<com::IClassFactory>::Adopt(new (std::nothrow) Factory(*this, entry));
    if (!factories_[i]) return com::CLASS_E_CLASSNOTAVAILABLE;
    const com::HRESULT hr = factories_[i]->QueryInterface(riid, ppv);
    if (com::FAILED(hr)) *ppv = nullptr;
    return hr;
  }
  return com::CLASS_E_CLASSNOTAVAILABLE;
}

com::HRESULT ComModule::CanUnloadNow() const noexcept {
  return LockCount() == 0 ? com::S_OK : com::S_FALSE;
}

reg::Status ComModule::UpdateRegistration(reg::Registry& registry, ScriptMode mode,
                                          const std::string& modulePath) const {
  std::vector<Replacement> replacements{{"MODULE", modulePath}};
  replacements.insert(replacements.end(), description_.replacements.begin(),
                      description_.replacements.end());
  com::TypeLibDescription typeLib;
  if (description_.typeLib != nullptr) {
    typeLib = *description_.typeLib;
    typeLib.modulePath = modulePath;
  }
  // One change for all of it: no reader or other writer sees the library half registered.
  return registry.Update([&](reg::Key& tree) {
    for (std::string_view script : description_.scripts)
      if (reg::Status s = ApplyRegistryScript(tree, script, replacements, mode); !s.ok()) return s;
    if (description_.typeLib == nullptr) return reg::Status::Ok();
    if (mode == ScriptMode::kRegister)
      com::RegisterTypeLibrary(tree, typeLib);
    else
      com::UnregisterTypeLibrary(tree, typeLib);
    return reg::Status::Ok();
  });
}

com::HRESULT ComModule::Registration(ScriptMode mode) noexcept {
  try {
    const std::string path = ModulePath(this);
    if (path.empty()) return com::E_UNEXPECTED;
    reg::Registry registry = reg::Registry::FromEnvironment();
    const reg::Status status = UpdateRegistration(registry, mode, path);
    if (status.ok()) return status.code;
    // The reason (file and line of a damaged registry, for example) goes to the caller.
    return com::ReportError(com::GUID_NULL, u"registry", com::Utf8ToUtf16(status.message),
                            status.code);
  } catch (const std::bad_alloc&) {
    return com::E_OUTOFMEMORY;
  } catch (...) {
    return com::E_UNEXPECTED;
  }
}

com::HRESULT ComModule::RegisterServer() noexcept { return Registration(ScriptMode::kRegister); }

com::HRESULT ComModule::UnregisterServer() noexcept {
  return Registration(ScriptMode::kUnregister);
}

}  // namespace server
