#include "info/AttributeMap.h"

namespace info {

com::HRESULT AttributeMap::Set(std::int32_t attribute, const com::VARIANT& value) {
  com::Variant copy;
  const com::HRESULT hr = com::VariantCopy(copy.Put(), &value);
  if (com::FAILED(hr)) return hr;
  entries_[attribute] = std::move(copy);
  return com::S_OK;
}

const com::VARIANT* AttributeMap::Find(std::int32_t attribute) const {
  const auto it = entries_.find(attribute);
  return it == entries_.end() ? nullptr : &it->second.Get();
}

}  // namespace info
