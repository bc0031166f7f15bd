#include "platform/registry/ServerLibraries.h"

#include <dlfcn.h>
#include <unistd.h>

namespace com {

ServerLibraries& ServerLibraries::Instance() {
  static ServerLibraries libraries;
  return libraries;
}

HRESULT ServerLibraries::Load(const std::string& path, Library& out) {
  if (path.find('/') != std::string::npos && ::access(path.c_str(), F_OK) != 0)
    return CO_E_DLLNOTFOUND;
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr)
    return path.find('/') == std::string::npos ? CO_E_DLLNOTFOUND : CO_E_ERRORINDLL;
  out.handle = handle;
  out.getClassObject = reinterpret_cast<GetClassObjectFn>(::dlsym(handle, "DllGetClassObject"));
  out.canUnloadNow = reinterpret_cast<CanUnloadNowFn>(::dlsym(handle, "DllCanUnloadNow"));
  if (out.getClassObject == nullptr) {
    ::dlclose(handle);
    return CO_E_ERRORINDLL;
  }
  return S_OK;
}

HRESULT ServerLibraries::GetClassObject(const std::string& path, REFCLSID clsid, REFIID riid,
                                        void** ppv) {
  std::lock_guard lock(mutex_);
  auto it = libraries_.find(path);
  if (it == libraries_.end()) {
    Library library;
    if (const HRESULT hr = Load(path, library); FAILED(hr)) return hr;
    it = libraries_.emplace(path, library).first;
  }
  const HRESULT hr = it->second.getClassObject(clsid, riid, ppv);
  if (FAILED(hr)) *ppv = nullptr;
  return hr;
}

void ServerLibraries::FreeUnused() {
  std::lock_guard lock(mutex_);
  for (auto it = libraries_.begin(); it != libraries_.end();) {
    // A library without DllCanUnloadNow cannot say it is unused: it stays.
    if (it->second.canUnloadNow != nullptr && it->second.canUnloadNow() == S_OK) {
      ::dlclose(it->second.handle);
      it = libraries_.erase(it);
    } else {
      ++it;
    }
  }
}

ULONG ServerLibraries::Count() {
  std::lock_guard lock(mutex_);
  return static_cast<ULONG>(libraries_.size());
}

}  // namespace com
