// One-dimensional safe arrays: a bounded vector of scalars, BSTRs, interfaces, VARIANTs or
// records. The array owns its elements; every element access is checked against the bounds.
#pragma once

#include <memory>
#include <span>

#include "platform/com/RecordInfo.h"

namespace com {

inline constexpr HRESULT DISP_E_ARRAYISLOCKED = MakeHresult(0x8002000D);

// A vector of `count` elements indexed from `lowerBound`, zero-initialised. Null for an
// element type this runtime does not handle, for VT_RECORD (use the Ex form) and when out
// of memory.
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count);
// As above; for VT_RECORD `extra` is the IRecordInfo of the elements (the array keeps a
// reference); ignored for other types.
SAFEARRAY* SafeArrayCreateVectorEx(VARTYPE vt, LONG lowerBound, ULONG count, void* extra);
// Only one dimension is supported; null otherwise.
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds);
// Frees the elements and the array. Fails with DISP_E_ARRAYISLOCKED while data is accessed.
HRESULT SafeArrayDestroy(SAFEARRAY* psa);

UINT SafeArrayGetDim(SAFEARRAY* psa);
UINT SafeArrayGetElemsize(SAFEARRAY* psa);
HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT dim, LONG* bound);
HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT dim, LONG* bound);
HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* vt);
// Adds a reference for the caller; null for arrays that are not of records.
HRESULT SafeArrayGetRecordInfo(SAFEARRAY* psa, IRecordInfo** info);

HRESULT SafeArrayLock(SAFEARRAY* psa);
HRESULT SafeArrayUnlock(SAFEARRAY* psa);
// Locks the array and gives its element block; pair with SafeArrayUnaccessData.
HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* psa);

// Copies element `*index` out: a new BSTR (into a BSTR*), an added reference (into an
// interface pointer), a deep VARIANT copy (into an uninitialised VARIANT) or the record's
// bytes (into a record buffer). DISP_E_BADINDEX outside the bounds.
HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* index, void* value);
// Stores a copy of `value` at `*index`, releasing what was there. For BSTR and interface
// elements `value` is the BSTR or interface pointer itself; otherwise it points to the value.
HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* index, void* value);
// Deep copy; *out is null on failure.
HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** out);

struct SafeArrayDeleter {
  void operator()(SAFEARRAY* psa) const { SafeArrayDestroy(psa); }
};
// Owns an array.
using SafeArrayPtr = std::unique_ptr<SAFEARRAY, SafeArrayDeleter>;

// Typed, bounds-checked view of an array's elements for as long as it lives (the array is
// locked meanwhile). Status() tells whether the array matched: E_INVALIDARG for null,
// DISP_E_BADVARTYPE when the element type or size differs from what was asked for, and for
// record arrays when the records are not of type T.
template <class T>
class SafeArrayAccess {
 public:
  SafeArrayAccess(SAFEARRAY* psa, VARTYPE vt) {
    if (!psa) {
      status_ = E_INVALIDARG;
      return;
    }
    if (psa->vt != vt || psa->cbElements != sizeof(T) || psa->cDims != 1) {
      status_ = DISP_E_BADVARTYPE;
      return;
    }
    if constexpr (Record<T>) {
      if (vt == VT_RECORD && !IsRecordOf<T>(psa->recordInfo)) {
        status_ = DISP_E_BADVARTYPE;
        return;
      }
    }
    void* data = nullptr;
    status_ = SafeArrayAccessData(psa, &data);
    if (SUCCEEDED(status_)) {
      psa_ = psa;
      items_ = {static_cast<T*>(data), psa->rgsabound[0].cElements};
    }
  }
  // Records of a type that has RecordTraits.
  explicit SafeArrayAccess(SAFEARRAY* psa)
    requires Record<T>
      : SafeArrayAccess(psa, VT_RECORD) {}
  ~SafeArrayAccess() {
    if (psa_) SafeArrayUnaccessData(psa_);
  }
  SafeArrayAccess(const SafeArrayAccess&) = delete;
  SafeArrayAccess& operator=(const SafeArrayAccess&) = delete;

  HRESULT Status() const { return status_; }
  std::span<T> Items() const { return items_; }

 private:
  SAFEARRAY* psa_ = nullptr;
  HRESULT status_ = S_OK;
  std::span<T> items_;
};

}  // namespace com
