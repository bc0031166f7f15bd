#include "info/Track.h"

#include "info/dialog/DialogHost.h"

namespace info {

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
  *endCode = 2;
  *endCode = static_cast<com::SHORT>(dialog::RunInfoDialog(this));
  return com::S_OK;
}

}  // namespace info
