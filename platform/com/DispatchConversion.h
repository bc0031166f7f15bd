// How the dispatch helper turns VARIANT arguments into the C++ parameters of an interface
// member, and the member's result back into a VARIANT. Used through DispatchTable.h.
#pragma once

#include <cstring>
#include <type_traits>
#include <utility>

#include "platform/com/Dispatch.h"
#include "platform/com/RecordInfo.h"
#include "platform/com/SafeArray.h"
#include "platform/com/Variant.h"

namespace com::dispatch {

// Scalars: integers, reals and 32-bit enumerations.
template <class T>
concept Scalar = (std::is_arithmetic_v<T> && !std::is_same_v<T, bool> && sizeof(T) <= 8) ||
                 (std::is_enum_v<T> && sizeof(T) == 4);

template <Scalar T>
constexpr VARTYPE ScalarType() {
  if constexpr (std::is_enum_v<T>) return VT_I4;
  else if constexpr (std::is_same_v<T, float>) return VT_R4;
  else if constexpr (std::is_same_v<T, double>) return VT_R8;
  else if constexpr (sizeof(T) == 1) return std::is_signed_v<T> ? VT_I1 : VT_UI1;
  else if constexpr (sizeof(T) == 2) return std::is_signed_v<T> ? VT_I2 : VT_UI2;
  else if constexpr (sizeof(T) == 4) return std::is_signed_v<T> ? VT_I4 : VT_UI4;
  else return VARTYPE{VT_EMPTY};  // 64-bit integers do not cross dispatch interfaces
}

// Helpers shared by every member (DispatchTable.cpp). Each returns DISP_E_TYPEMISMATCH
// (or DISP_E_OVERFLOW) when the argument cannot become what the member takes.
HRESULT CoerceArgument(const VARIANT& arg, VARTYPE vt, Variant& temp);
// An in/out argument of base type `vt`: *where points into the caller's storage when it
// passed a reference of that type (or a reference to a VARIANT, converted in place), else
// into `temp`, holding a converted copy.
HRESULT ReferenceArgument(VARIANT& arg, VARTYPE vt, void*& where, Variant& temp);
HRESULT ArrayArgument(VARIANT& arg, SAFEARRAY*& array);
HRESULT RecordArgument(VARIANT& arg, void*& record, IRecordInfo*& info);

// The value slot of a VARIANT (every member of its union starts there).
inline void* ValueSlot(VARIANT& v) { return &v.lVal; }

// --- arguments ---

template <class T>
struct Arg;  // a parameter type with no entry here cannot be used in a dispatch table

template <Scalar T>
struct Arg<T> {
  static constexpr VARTYPE kType = ScalarType<T>();
  static_assert(kType != VT_EMPTY, "parameter type has no variant type");
  Variant temp;
  HRESULT Load(VARIANT& arg) { return CoerceArgument(arg, kType, temp); }
  T Get() {
    T value;
    std::memcpy(&value, ValueSlot(*temp.Raw()), sizeof value);
    return value;
  }
};

template <VARTYPE Vt, class P>
struct CoercedArg {
  static constexpr VARTYPE kType = Vt;
  Variant temp;
  HRESULT Load(VARIANT& arg) { return CoerceArgument(arg, kType, temp); }
  P Get() { return *static_cast<P*>(ValueSlot(*temp.Raw())); }
};
template <>
struct Arg<BSTR> : CoercedArg<VT_BSTR, BSTR> {};
template <>
struct Arg<IDispatch*> : CoercedArg<VT_DISPATCH, IDispatch*> {};
template <>
struct Arg<IUnknown*> : CoercedArg<VT_UNKNOWN, IUnknown*> {};

// A VARIANT by value: the member sees a copy of what the caller passed, with references
// followed, valid for the duration of the call.
template <>
struct Arg<VARIANT> {
  static constexpr VARTYPE kType = VT_VARIANT;
  Variant temp;
  HRESULT Load(VARIANT& arg) {
    return FAILED(VariantCopyInd(temp.Raw(), &arg)) ? DISP_E_TYPEMISMATCH : S_OK;
  }
  VARIANT Get() { return temp.Get(); }
};

template <>
struct Arg<SAFEARRAY*> {
  static constexpr VARTYPE kType = VT_ARRAY;
  SAFEARRAY* array = nullptr;
  HRESULT Load(VARIANT& arg) { return ArrayArgument(arg, array); }
  SAFEARRAY* Get() { return array; }
};

// In/out parameters of scalars, BSTR and VARIANT.
template <class T>
  requires(Scalar<T> && !std::is_enum_v<T>) || std::is_same_v<T, BSTR> ||
          std::is_same_v<T, VARIANT>
struct Arg<T*> {
  static constexpr VARTYPE kBase = std::is_same_v<T, BSTR>      ? VARTYPE{VT_BSTR}
                                   : std::is_same_v<T, VARIANT> ? VARTYPE{VT_VARIANT}
                                                                : ScalarType<T>();
  static constexpr VARTYPE kType = VT_BYREF | kBase;
  void* where = nullptr;
  Variant temp;
  HRESULT Load(VARIANT& arg) { return ReferenceArgument(arg, kBase, where, temp); }
  T* Get() { return static_cast<T*>(where); }
};

// A record passed by reference: the member reads and may change the caller's record.
template <Record T>
struct Arg<T*> {
  static constexpr VARTYPE kType = VT_BYREF | VT_RECORD;
  void* record = nullptr;
  HRESULT Load(VARIANT& arg) {
    IRecordInfo* info = nullptr;
    if (HRESULT hr = RecordArgument(arg, record, info); FAILED(hr)) return hr;
    return IsRecordOf<T>(info) ? S_OK : DISP_E_TYPEMISMATCH;
  }
  T* Get() { return static_cast<T*>(record); }
};

// --- results ---

template <class R>
struct Result;  // a result type with no entry here cannot be used in a dispatch table

template <Scalar R>
struct Result<R> {
  static constexpr VARTYPE kType = ScalarType<R>();
  R value{};
  R* Ptr() { return &value; }
  // `vt` is the declared result type: kType or another type of the same size.
  void Store(VARIANT* out, VARTYPE vt) {
    out->vt = vt;
    std::memcpy(ValueSlot(*out), &value, sizeof value);
  }
};

// Results that own something: Store hands it over, otherwise it is freed.
template <VARTYPE Vt, class R, void (*Free)(R)>
struct OwnedResult {
  static constexpr VARTYPE kType = Vt;
  R value{};
  OwnedResult() = default;
  OwnedResult(const OwnedResult&) = delete;
  OwnedResult& operator=(const OwnedResult&) = delete;
  ~OwnedResult() {
    if (value) Free(value);
  }
  R* Ptr() { return &value; }
  void Store(VARIANT* out, VARTYPE) {
    out->vt = Vt;
    *static_cast<R*>(ValueSlot(*out)) = std::exchange(value, R{});
  }
};
inline void FreeString(BSTR s) { SysFreeString(s); }
inline void ReleaseObject(IUnknown* p) { p->Release(); }
inline void ReleaseDispatch(IDispatch* p) { p->Release(); }
template <>
struct Result<BSTR> : OwnedResult<VT_BSTR, BSTR, FreeString> {};
template <>
struct Result<IUnknown*> : OwnedResult<VT_UNKNOWN, IUnknown*, ReleaseObject> {};
template <>
struct Result<IDispatch*> : OwnedResult<VT_DISPATCH, IDispatch*, ReleaseDispatch> {};

template <>
struct Result<VARIANT> {
  static constexpr VARTYPE kType = VT_VARIANT;
  Variant value;
  VARIANT* Ptr() { return value.Raw(); }
  void Store(VARIANT* out, VARTYPE) { value.Detach(out); }
};

template <>
struct Result<SAFEARRAY*> {
  static constexpr VARTYPE kType = VT_ARRAY;
  SAFEARRAY* value = nullptr;
  Result() = default;
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  ~Result() { SafeArrayDestroy(value); }
  SAFEARRAY** Ptr() { return &value; }
  void Store(VARIANT* out, VARTYPE) {
    if (!value) return;
    out->vt = VT_ARRAY | value->vt;
    out->parray = std::exchange(value, nullptr);
  }
};

template <Record R>
struct Result<R> {
  static constexpr VARTYPE kType = VT_RECORD;
  R value{};
  R* Ptr() { return &value; }
  void Store(VARIANT* out, VARTYPE) {
    IRecordInfo* info = RecordInfoOf<R>();
    void* copy = info ? info->RecordCreate() : nullptr;
    if (!copy) return;  // out of memory: the caller sees VT_EMPTY
    std::memcpy(copy, &value, sizeof value);
    info->AddRef();
    out->vt = VT_RECORD;
    out->record.pvRecord = copy;
    out->record.pRecInfo = info;
  }
};

}  // namespace com::dispatch
