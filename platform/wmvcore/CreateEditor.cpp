// The library's one export.
#include "platform/wmvcore/MetadataEditor.h"

extern "C" __attribute__((visibility("default"))) wm::HRESULT WMCreateEditor(
    wm::IWMMetadataEditor** editor) {
  if (editor == nullptr) return com::E_POINTER;
  *editor = nullptr;
  com::ComPtr<wm::MetadataEditor> object = com::MakeObject<wm::MetadataEditor>();
  if (!object) return com::E_OUTOFMEMORY;
  *editor = static_cast<wm::IWMMetadataEditor*>(object.Detach());
  return com::S_OK;
}
