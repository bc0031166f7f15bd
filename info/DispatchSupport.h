// Helpers for the IDispatch side of the library's objects: member names to DISPIDs and
// positional arguments (DISPPARAMS holds them last first) converted to the needed type.
#pragma once

#include <span>

#include "platform/com/Bstr.h"
#include "platform/com/Dispatch.h"
#include "platform/com/Variant.h"

namespace info {

struct DispatchMember {
  const char16_t* name;
  com::DISPID id;
};

// GetIDsOfNames over a member table; names compare without regard to ASCII case.
com::HRESULT IdsOfNames(std::span<const DispatchMember> members, com::LPOLESTR* names,
                        com::UINT count, com::DISPID* ids);

// Argument `index` (0 = first) of `params`, converted; DISP_E_BADPARAMCOUNT when missing,
// DISP_E_TYPEMISMATCH when it does not convert.
com::HRESULT ArgumentLong(const com::DISPPARAMS* params, com::UINT index, com::LONG& value);
com::HRESULT ArgumentBstr(const com::DISPPARAMS* params, com::UINT index, com::Bstr& value);
com::HRESULT ArgumentUnknown(const com::DISPPARAMS* params, com::UINT index, com::IUnknown*& value);
// The argument itself (by-reference values followed).
com::HRESULT ArgumentVariant(const com::DISPPARAMS* params, com::UINT index, com::Variant& value);
// Checks the argument count of a call.
com::HRESULT ExpectArguments(const com::DISPPARAMS* params, com::UINT count);

}  // namespace info
