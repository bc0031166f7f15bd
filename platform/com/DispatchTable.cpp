#include "platform/com/DispatchTable.h"

#include "platform/com/ErrorInfo.h"

namespace com::dispatch {
namespace {

constexpr int kMaxIndirection = 4;

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

HRESULT ArgumentStatus(HRESULT hr) {
  return hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
}

// Follows references to VARIANTs down to the VARIANT that holds the value.
VARIANT* Innermost(VARIANT* v) {
  for (int depth = 0; depth < kMaxIndirection && v && v->vt == (VT_BYREF | VT_VARIANT); ++depth)
    v = v->pvarVal;
  return v && v->vt != (VT_BYREF | VT_VARIANT) ? v : nullptr;
}

bool SameShape(VARTYPE passed, VARTYPE wanted) {
  if (passed == wanted) return true;
  // 16-bit integers and booleans share their representation.
  return (passed == VT_BOOL && wanted == VT_I2) || (passed == VT_I2 && wanted == VT_BOOL);
}

}  // namespace

bool NameMatches(std::u16string_view member, const OLECHAR* name) {
  std::size_t k = 0;
  for (; k < member.size(); ++k)
    if (name[k] == 0 || Lower(name[k]) != Lower(member[k])) return false;
  return name[k] == 0;
}

int ChooseMember(WORD flags, std::span<const MemberKind> kinds) {
  auto find = [&](MemberKind kind) {
    for (std::size_t i = 0; i < kinds.size(); ++i)
      if (kinds[i] == kind) return static_cast<int>(i);
    return -1;
  };
  if (flags & DISPATCH_PROPERTYPUTREF) {
    if (int i = find(MemberKind::PropPutRef); i >= 0) return i;
    if (!(flags & DISPATCH_PROPERTYPUT)) return -1;
  }
  if (flags & DISPATCH_PROPERTYPUT) return find(MemberKind::PropPut);
  if (flags & DISPATCH_METHOD) {
    if (int i = find(MemberKind::Method); i >= 0) return i;
  }
  if (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) return find(MemberKind::PropGet);
  return -1;
}

HRESULT CheckArguments(const DispatchMemberInfo& m, const DISPPARAMS& params) {
  if ((params.cArgs > 0 && !params.rgvarg) || params.cNamedArgs > params.cArgs ||
      (params.cNamedArgs > 0 && !params.rgdispidNamedArgs))
    return E_INVALIDARG;
  const bool put = m.kind == MemberKind::PropPut || m.kind == MemberKind::PropPutRef;
  if (put) {
    // The new value may come as the named argument DISPID_PROPERTYPUT, as callers pass it,
    // or simply as the first argument.
    if (params.cNamedArgs > 1 ||
        (params.cNamedArgs == 1 && params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
      return DISP_E_NONAMEDARGS;
  } else if (params.cNamedArgs > 0) {
    return DISP_E_NONAMEDARGS;
  }
  return params.cArgs == m.paramCount ? S_OK : DISP_E_BADPARAMCOUNT;
}

HRESULT Finish(HRESULT hr, EXCEPINFO* excepInfo) {
  if (SUCCEEDED(hr) || !excepInfo) return hr;
  FillExcepInfo(excepInfo, hr);
  return DISP_E_EXCEPTION;
}

HRESULT CoerceArgument(const VARIANT& arg, VARTYPE vt, Variant& temp) {
  const HRESULT hr = VariantChangeType(temp.Raw(), &arg, 0, vt);
  return SUCCEEDED(hr) ? S_OK : ArgumentStatus(hr);
}

HRESULT ReferenceArgument(VARIANT& arg, VARTYPE vt, void*& where, Variant& temp) {
  if (SameShape(arg.vt & ~VT_BYREF, vt) && (arg.vt & VT_BYREF)) {
    if (!arg.byref) return DISP_E_TYPEMISMATCH;
    where = arg.byref;
    return S_OK;
  }
  if (arg.vt == (VT_BYREF | VT_VARIANT)) {
    VARIANT* inner = Innermost(&arg);
    if (!inner) return DISP_E_TYPEMISMATCH;
    if (inner->vt & VT_BYREF) return ReferenceArgument(*inner, vt, where, temp);
    // The caller's variable takes the parameter's type, so the member can write to it.
    if (!SameShape(inner->vt, vt)) {
      if (HRESULT hr = VariantChangeType(inner, inner, 0, vt); FAILED(hr)) return ArgumentStatus(hr);
    }
    where = ValueSlot(*inner);
    return S_OK;
  }
  // A reference to another type: the member could not write through it.
  if (arg.vt & VT_BYREF) return DISP_E_TYPEMISMATCH;
  // Passed by value: the member works on a converted copy.
  if (vt == VT_VARIANT) {
    if (FAILED(VariantCopyInd(temp.Raw(), &arg))) return DISP_E_TYPEMISMATCH;
    where = temp.Raw();
    return S_OK;
  }
  if (HRESULT hr = CoerceArgument(arg, vt, temp); FAILED(hr)) return hr;
  where = ValueSlot(*temp.Raw());
  return S_OK;
}

HRESULT ArrayArgument(VARIANT& arg, SAFEARRAY*& array) {
  VARIANT* v = Innermost(&arg);
  if (!v || !(v->vt & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
  if (v->vt & VT_BYREF)
    array = v->pparray ? *v->pparray : nullptr;
  else
    array = v->parray;
  return S_OK;
}

HRESULT RecordArgument(VARIANT& arg, void*& record, IRecordInfo*& info) {
  VARIANT* v = Innermost(&arg);
  if (!v || (v->vt & ~VT_BYREF) != VT_RECORD || !v->record.pvRecord) return DISP_E_TYPEMISMATCH;
  record = v->record.pvRecord;
  info = v->record.pRecInfo;
  return S_OK;
}

}  // namespace com::dispatch
