// Activation services of the component runtime: apartments (per-thread bookkeeping), ProgID
// lookup and in-process class activation through the class registry.
//
// CoCreateInstance reads "CLSID\{clsid}\InprocServer32" (default value: the library path),
// loads that library with dlopen (RTLD_NOW | RTLD_LOCAL), asks its DllGetClassObject for the
// class factory and lets the factory create the object. Loaded libraries stay in a
// process-wide table; CoFreeUnusedLibraries, and the CoUninitialize that ends the last
// apartment of the process, unload those whose DllCanUnloadNow answers S_OK. Only in-process
// servers exist on this platform.
#pragma once

#include "platform/com/Unknown.h"

namespace com {

inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// S_OK when this call initialised the thread, S_FALSE when it was already initialised (each
// successful call still needs its CoUninitialize).
HRESULT CoInitializeEx(void* reserved, DWORD coinit);
HRESULT CoInitialize(void* reserved);
void CoUninitialize();
HRESULT OleInitialize(void* reserved);
void OleUninitialize();

// The calling thread in a single-threaded apartment for the scope's lifetime (uninitialised
// again at its end when the initialisation succeeded).
class ApartmentScope {
 public:
  ApartmentScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ApartmentScope() {
    if (ok_) CoUninitialize();
  }
  ApartmentScope(const ApartmentScope&) = delete;
  ApartmentScope& operator=(const ApartmentScope&) = delete;
  bool Ok() const { return ok_; }

 private:
  bool ok_;
};

// Class of a ProgID: the default value of "<progid>\CLSID". CO_E_CLASSSTRING when the ProgID
// is not registered or its CLSID is malformed; E_INVALIDARG for null arguments.
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);

// REGDB_E_CLASSNOTREG when the class has no in-process server, CO_E_DLLNOTFOUND when its
// library file is missing, CO_E_ERRORINDLL when it cannot be loaded or lacks
// DllGetClassObject, CO_E_NOTINITIALIZED outside an apartment, REGDB_E_READREGDB when the
// registry cannot be read; otherwise the server's own status. `*ppv` is null on failure.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsctx, void* serverInfo, REFIID riid, void** ppv);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsctx, REFIID riid, void** ppv);

// Unloads every loaded server library whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();

// Number of server libraries currently loaded through activation (for diagnostics and tests).
ULONG LoadedServerLibraryCount();

}  // namespace com
