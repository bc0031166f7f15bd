#include "platform/registry/Activation.h"

#include <string>

#include "platform/com/CodePage.h"
#include "platform/com/ComPtr.h"
#include "platform/registry/Apartment.h"
#include "platform/registry/Registry.h"
#include "platform/registry/ServerLibraries.h"

namespace com {

namespace {

std::u16string_view WideView(LPCOLESTR text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return {text, n};
}

}  // namespace

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
  if (progId == nullptr || clsid == nullptr) return E_INVALIDARG;
  const std::string name = Utf16ToUtf8(WideView(progId));
  if (name.empty() || name.find('\\') != std::string::npos) return CO_E_CLASSSTRING;
  std::string text;
  if (!reg::Registry::FromEnvironment().GetString(name + "\\CLSID", "", text).ok())
    return CO_E_CLASSSTRING;
  CLSID parsed;
  if (!ParseGuid(text, parsed)) return CO_E_CLASSSTRING;
  *clsid = parsed;
  return S_OK;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsctx, void*, REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (!ThreadInApartment()) return CO_E_NOTINITIALIZED;
  if ((clsctx & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
  const std::string key = "CLSID\\" + GuidToString(clsid) + "\\InprocServer32";
  std::string path;
  const reg::Status s = reg::Registry::FromEnvironment().GetString(key, "", path);
  if (s.code == REGDB_E_KEYMISSING || (s.ok() && path.empty())) return REGDB_E_CLASSNOTREG;
  if (!s.ok()) return s.code;
  return ServerLibraries::Instance().GetClassObject(path, clsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsctx, REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  ComPtr<IClassFactory> factory;
  HRESULT hr = CoGetClassObject(clsid, clsctx, nullptr, IID_IClassFactory, factory.PutVoid());
  if (FAILED(hr)) return hr;
  if (!factory) return E_UNEXPECTED;
  hr = factory->CreateInstance(outer, riid, ppv);
  if (FAILED(hr)) *ppv = nullptr;
  return hr;
}

}  // namespace com
