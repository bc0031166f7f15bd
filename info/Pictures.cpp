#include "info/Pictures.h"

#include "platform/com/Stream.h"

namespace info {

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

}  // namespace info
