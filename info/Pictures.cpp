#include "info/Pictures.h"

#include "info/DispatchSupport.h"
#include "platform/com/Stream.h"

namespace info {

namespace {

constexpr std::array<DispatchMember, 3> kMembers = {{
    {u"ItemData", dispid::kItemData},
    {u"Count", dispid::kCount},
    {u"Add", dispid::kAdd},
}};

}  // namespace

com::HRESULT Pictures::get_ItemData(com::LONG index, com::IUnknown** item) {
  if (item == nullptr) return com::E_POINTER;
  *item = nullptr;
  if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) return com::E_INVALIDARG;
  const com::ComPtr<com::IUnknown>& entry = items_[static_cast<std::size_t>(index)];
  if (auto stream = entry.As<com::IStream>(com::IID_IStream)) stream->Seek(com::LARGE_INTEGER{0}, com::STREAM_SEEK_SET, nullptr);
  return entry.CopyTo(item);
}

com::HRESULT Pictures::get_Count(com::LONG* count) {
  if (count == nullptr) return com::E_POINTER;
  *count = static_cast<com::LONG>(items_.size());
  return com::S_OK;
}

com::HRESULT Pictures::Add(com::IUnknown* item) {
  if (item == nullptr) return com::E_POINTER;
  items_.emplace_back(item);
  return com::S_OK;
}

com::HRESULT Pictures::GetTypeInfoCount(com::UINT* count) {
  if (count == nullptr) return com::E_POINTER;
  *count = 0;
  return com::S_OK;
}

com::HRESULT Pictures::GetTypeInfo(com::UINT, com::LCID, com::ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return com::E_NOTIMPL;
}

com::HRESULT Pictures::GetIDsOfNames(com::REFIID, com::LPOLESTR* names, com::UINT count, com::LCID, com::DISPID* ids) {
  return IdsOfNames(kMembers, names, count, ids);
}

com::HRESULT Pictures::Invoke(com::DISPID member, com::REFIID, com::LCID, com::WORD, com::DISPPARAMS* params,
                              com::VARIANT* result, com::EXCEPINFO*, com::UINT*) {
  com::HRESULT hr = com::DISP_E_MEMBERNOTFOUND;
  if (member == dispid::kItemData) {
    com::LONG index = 0;
    if (com::FAILED(hr = ExpectArguments(params, 1)) || com::FAILED(hr = ArgumentLong(params, 0, index))) return hr;
    com::IUnknown* item = nullptr;
    if (com::SUCCEEDED(hr = get_ItemData(index, &item)) && result != nullptr) {
      com::VariantClear(result);
      result->vt = com::VT_UNKNOWN;
      result->punkVal = item;
    } else if (item != nullptr) {
      item->Release();
    }
  } else if (member == dispid::kCount) {
    com::LONG count = 0;
    if (com::FAILED(hr = ExpectArguments(params, 0))) return hr;
    if (com::SUCCEEDED(hr = get_Count(&count)) && result != nullptr) {
      com::VariantClear(result);
      result->vt = com::VT_I4;
      result->lVal = count;
    }
  } else if (member == dispid::kAdd) {
    com::IUnknown* item = nullptr;
    if (com::FAILED(hr = ExpectArguments(params, 1)) || com::FAILED(hr = ArgumentUnknown(params, 0, item))) return hr;
    hr = Add(item);
  }
  return hr;
}

}  // namespace info
