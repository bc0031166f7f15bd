// The four exports of a component server library, forwarded to its module object:
//
//   namespace { server::ComModule g_module(kDescription); }
//   DEFINE_SERVER_EXPORTS(g_module)
//
// Build the library with add_component_server() (server/CMakeLists.txt), which exports these
// four names and nothing else.
#pragma once

#include "server/ComModule.h"

#define SERVER_EXPORT extern "C" __attribute__((visibility("default")))

#define DEFINE_SERVER_EXPORTS(module)                                                  \
  SERVER_EXPORT com::HRESULT DllGetClassObject(com::REFCLSID clsid, com::REFIID riid,  \
                                               void** ppv) {                           \
    return (module).GetClassObject(clsid, riid, ppv);                                  \
  }                                                                                    \
  SERVER_EXPORT com::HRESULT DllCanUnloadNow() { return (module).CanUnloadNow(); }     \
  SERVER_EXPORT com::HRESULT DllRegisterServer() { return (module).RegisterServer(); } \
  SERVER_EXPORT com::HRESULT DllUnregisterServer() { return (module).UnregisterServer(); }
