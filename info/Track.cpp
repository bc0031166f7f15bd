#include "info/Track.h"

#include <array>

#include "info/DispatchSupport.h"

namespace info {

namespace {

constexpr std::array<DispatchMember, 6> kMembers = {{
    {u"Attribute", dispid::kAttribute},
    {u"AttributeSupported", dispid::kAttributeSupported},
    {u"Empty", dispid::kEmpty},
    {u"Load", dispid::kLoad},
    {u"Save", dispid::kSave},
    {u"InvokeEditDlg", dispid::kInvokeEditDlg},
}};

void PutLong(com::VARIANT* result, com::LONG value) {
  if (result == nullptr) return;
  com::VariantClear(result);
  result->vt = com::VT_I4;
  result->lVal = value;
}

}  // namespace

com::HRESULT Track::get_Attribute(EAttribute attribute, com::VARIANT* value) {
  if (value == nullptr) return com::E_POINTER;
  com::VariantInit(value);
  const com::VARIANT* stored = attributes_.Find(attribute);
  return stored == nullptr ? com::S_OK : com::VariantCopy(value, stored);
}

com::HRESULT Track::put_Attribute(EAttribute attribute, com::VARIANT value) {
  return attributes_.Set(attribute, value);
}

com::HRESULT Track::get_Empty(com::BOOL* empty) {
  if (empty == nullptr) return com::E_POINTER;
  *empty = attributes_.Empty() ? com::VARIANT_TRUE : com::FALSE;
  return com::S_OK;
}

com::HRESULT Track::InvokeEditDlg(com::SHORT* endCode) {
  if (endCode == nullptr) return com::E_POINTER;
  *endCode = -1;  // the dialog cannot be created: it is not part of this build yet
  return com::S_OK;
}

com::HRESULT Track::GetTypeInfoCount(com::UINT* count) {
  if (count == nullptr) return com::E_POINTER;
  *count = 0;
  return com::S_OK;
}

com::HRESULT Track::GetTypeInfo(com::UINT, com::LCID, com::ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return com::E_NOTIMPL;
}

com::HRESULT Track::GetIDsOfNames(com::REFIID, com::LPOLESTR* names, com::UINT count, com::LCID, com::DISPID* ids) {
  return IdsOfNames(kMembers, names, count, ids);
}

com::HRESULT Track::Invoke(com::DISPID member, com::REFIID, com::LCID, com::WORD flags, com::DISPPARAMS* params,
                           com::VARIANT* result, com::EXCEPINFO*, com::UINT*) {
  com::LONG attribute = 0;
  com::BOOL answer = 0;
  com::HRESULT hr = com::DISP_E_MEMBERNOTFOUND;
  switch (member) {
    case dispid::kAttribute:
      if (flags & com::DISPATCH_PROPERTYPUT) {
        com::Variant value;
        if (com::FAILED(hr = ExpectArguments(params, 2)) || com::FAILED(hr = ArgumentLong(params, 0, attribute)) ||
            com::FAILED(hr = ArgumentVariant(params, 1, value)))
          return hr;
        return put_Attribute(static_cast<EAttribute>(attribute), value.Get());
      }
      if (com::FAILED(hr = ExpectArguments(params, 1)) || com::FAILED(hr = ArgumentLong(params, 0, attribute))) return hr;
      {
        com::Variant value;
        hr = get_Attribute(static_cast<EAttribute>(attribute), value.Put());
        if (com::SUCCEEDED(hr) && result != nullptr) {
          com::VariantClear(result);
          value.Detach(result);
        }
      }
      return hr;
    case dispid::kAttributeSupported:
      if (com::FAILED(hr = ExpectArguments(params, 1)) || com::FAILED(hr = ArgumentLong(params, 0, attribute))) return hr;
      hr = get_AttributeSupported(static_cast<EAttribute>(attribute), &answer);
      break;
    case dispid::kEmpty:
      if (com::FAILED(hr = ExpectArguments(params, 0))) return hr;
      hr = get_Empty(&answer);
      break;
    case dispid::kLoad:
    case dispid::kSave: {
      com::Bstr location;
      if (com::FAILED(hr = ExpectArguments(params, 1)) || com::FAILED(hr = ArgumentBstr(params, 0, location))) return hr;
      hr = member == dispid::kLoad ? Load(location.Get(), &answer) : Save(location.Get(), &answer);
      break;
    }
    case dispid::kInvokeEditDlg: {
      if (com::FAILED(hr = ExpectArguments(params, 0))) return hr;
      com::SHORT code = 0;
      hr = InvokeEditDlg(&code);
      if (com::SUCCEEDED(hr) && result != nullptr) {
        com::VariantClear(result);
        result->vt = com::VT_I2;
        result->iVal = code;
      }
      return hr;
    }
    default:
      return hr;
  }
  if (com::SUCCEEDED(hr)) PutLong(result, answer);
  return hr;
}

}  // namespace info
