#include "info/DispatchSupport.h"

namespace info {

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameName(const char16_t* a, const char16_t* b) {
  for (; *a && *b; ++a, ++b)
    if (Lower(*a) != Lower(*b)) return false;
  return *a == *b;
}

const com::VARIANT* Argument(const com::DISPPARAMS* params, com::UINT index) {
  if (params == nullptr || index >= params->cArgs || params->rgvarg == nullptr) return nullptr;
  return &params->rgvarg[params->cArgs - 1 - index];
}

com::HRESULT Converted(const com::DISPPARAMS* params, com::UINT index, com::VARTYPE vt, com::Variant& out) {
  const com::VARIANT* arg = Argument(params, index);
  if (arg == nullptr) return com::DISP_E_BADPARAMCOUNT;
  if (com::FAILED(com::VariantChangeType(out.Put(), arg, 0, vt))) return com::DISP_E_TYPEMISMATCH;
  return com::S_OK;
}

}  // namespace

com::HRESULT IdsOfNames(std::span<const DispatchMember> members, com::LPOLESTR* names, com::UINT count,
                        com::DISPID* ids) {
  if (names == nullptr || ids == nullptr) return com::E_POINTER;
  com::HRESULT hr = com::S_OK;
  for (com::UINT i = 0; i < count; ++i) {
    ids[i] = com::DISPID_UNKNOWN;
    if (i > 0) {  // named arguments are not supported
      hr = com::DISP_E_UNKNOWNNAME;
      continue;
    }
    for (const DispatchMember& member : members)
      if (names[i] != nullptr && SameName(names[i], member.name)) ids[i] = member.id;
    if (ids[i] == com::DISPID_UNKNOWN) hr = com::DISP_E_UNKNOWNNAME;
  }
  return hr;
}

com::HRESULT ArgumentLong(const com::DISPPARAMS* params, com::UINT index, com::LONG& value) {
  com::Variant v;
  const com::HRESULT hr = Converted(params, index, com::VT_I4, v);
  if (com::SUCCEEDED(hr)) value = v.Get().lVal;
  return hr;
}

com::HRESULT ArgumentBstr(const com::DISPPARAMS* params, com::UINT index, com::Bstr& value) {
  com::Variant v;
  const com::HRESULT hr = Converted(params, index, com::VT_BSTR, v);
  if (com::SUCCEEDED(hr)) value = com::Bstr(std::u16string_view(v.Get().bstrVal ? v.Get().bstrVal : u"",
                                                           com::SysStringLen(v.Get().bstrVal)));
  return hr;
}

com::HRESULT ArgumentUnknown(const com::DISPPARAMS* params, com::UINT index, com::IUnknown*& value) {
  const com::VARIANT* arg = Argument(params, index);
  if (arg == nullptr) return com::DISP_E_BADPARAMCOUNT;
  if (arg->vt == com::VT_UNKNOWN || arg->vt == com::VT_DISPATCH) {
    value = arg->punkVal;
    return com::S_OK;
  }
  if (arg->vt == (com::VT_UNKNOWN | com::VT_BYREF) || arg->vt == (com::VT_DISPATCH | com::VT_BYREF)) {
    value = arg->ppunkVal ? *arg->ppunkVal : nullptr;
    return com::S_OK;
  }
  return com::DISP_E_TYPEMISMATCH;
}

com::HRESULT ArgumentVariant(const com::DISPPARAMS* params, com::UINT index, com::Variant& value) {
  const com::VARIANT* arg = Argument(params, index);
  if (arg == nullptr) return com::DISP_E_BADPARAMCOUNT;
  return com::VariantCopyInd(value.Put(), arg);
}

com::HRESULT ExpectArguments(const com::DISPPARAMS* params, com::UINT count) {
  const com::UINT given = params == nullptr ? 0 : params->cArgs;
  return given == count ? com::S_OK : com::DISP_E_BADPARAMCOUNT;
}

}  // namespace info
