// Facts about variant type codes shared by the VARIANT and safe-array functions.
#pragma once

#include "platform/com/AutomationTypes.h"

namespace com {

// Bytes a value of base type `vt` takes in a VARIANT's value or as an array element
// (VT_VARIANT: a whole VARIANT). 0 for types this runtime does not handle, and for
// VT_RECORD, whose size comes from its description.
constexpr ULONG VarTypeSize(VARTYPE vt) {
  switch (vt) {
    case VT_I1:
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
      return 4;
    case VT_R8:
      return 8;
    case VT_BSTR:
      return sizeof(BSTR);
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return sizeof(IUnknown*);
    case VT_VARIANT:
      return sizeof(VARIANT);
    default:
      return 0;
  }
}

constexpr bool IsInterfaceType(VARTYPE vt) { return vt == VT_DISPATCH || vt == VT_UNKNOWN; }

}  // namespace com
