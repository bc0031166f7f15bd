// The process-wide table of component server libraries loaded by activation.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/com/Unknown.h"

namespace com {

class ServerLibraries {
 public:
  static ServerLibraries& Instance();

  ServerLibraries(const ServerLibraries&) = delete;
  ServerLibraries& operator=(const ServerLibraries&) = delete;

  // Loads `path` unless already loaded and calls its DllGetClassObject. The table stays
  // locked during that call, so an unload cannot slip in before the server has counted the
  // reference it hands out.
  HRESULT GetClassObject(const std::string& path, REFCLSID clsid, REFIID riid, void** ppv);
  void FreeUnused();
  ULONG Count();

 private:
  using GetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);
  using CanUnloadNowFn = HRESULT (*)();
  struct Library {
    void* handle = nullptr;
    GetClassObjectFn getClassObject = nullptr;
    CanUnloadNowFn canUnloadNow = nullptr;
  };

  ServerLibraries() = default;
  HRESULT Load(const std::string& path, Library& out);

  std::mutex mutex_;
  std::map<std::string, Library> libraries_;
};

}  // namespace com
