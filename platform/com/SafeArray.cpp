#include "platform/com/SafeArray.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/com/Bstr.h"
#include "platform/com/VarType.h"
#include "platform/com/Variant.h"

namespace com {
namespace {

// Arrays larger than this are refused rather than attempted.
constexpr std::size_t kMaxBytes = std::size_t{1} << 31;

USHORT FeaturesOf(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR:
      return FADF_BSTR;
    case VT_UNKNOWN:
      return FADF_UNKNOWN;
    case VT_DISPATCH:
      return FADF_DISPATCH;
    case VT_VARIANT:
      return FADF_VARIANT;
    case VT_RECORD:
      return FADF_RECORD;
    default:
      return 0;
  }
}

void* ElementAt(SAFEARRAY* psa, ULONG i) {
  return static_cast<unsigned char*>(psa->pvData) + std::size_t{i} * psa->cbElements;
}

// Position of `index` in the element block, or DISP_E_BADINDEX.
HRESULT Offset(SAFEARRAY* psa, const LONG* index, ULONG& pos) {
  if (!psa || !index) return E_INVALIDARG;
  const long long rel = static_cast<long long>(*index) - psa->rgsabound[0].lLbound;
  if (rel < 0 || rel >= static_cast<long long>(psa->rgsabound[0].cElements))
    return DISP_E_BADINDEX;
  pos = static_cast<ULONG>(rel);
  return S_OK;
}

// Frees what one element holds and zeroes it.
void ClearElement(SAFEARRAY* psa, void* element) {
  switch (psa->vt) {
    case VT_BSTR:
      SysFreeString(*static_cast<BSTR*>(element));
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      if (auto* p = *static_cast<IUnknown**>(element)) p->Release();
      break;
    case VT_VARIANT:
      VariantClear(static_cast<VARIANT*>(element));
      break;
    case VT_RECORD:
      psa->recordInfo->RecordClear(element);
      break;
    default:
      break;
  }
  std::memset(element, 0, psa->cbElements);
}

// Copies `source` (an element or a caller's value of the same shape) into the zeroed
// element `dest`.
HRESULT CopyElement(SAFEARRAY* psa, const void* source, void* dest) {
  switch (psa->vt) {
    case VT_BSTR: {
      BSTR s = *static_cast<const BSTR*>(source);
      *static_cast<BSTR*>(dest) = Bstr::CopyOf(s).Detach();
      return s && !*static_cast<BSTR*>(dest) ? E_OUTOFMEMORY : S_OK;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
      IUnknown* p = *static_cast<IUnknown* const*>(source);
      if (p) p->AddRef();
      *static_cast<IUnknown**>(dest) = p;
      return S_OK;
    }
    case VT_VARIANT:
      VariantInit(static_cast<VARIANT*>(dest));
      return VariantCopy(static_cast<VARIANT*>(dest), static_cast<const VARIANT*>(source));
    case VT_RECORD:
      return psa->recordInfo->RecordCopy(const_cast<void*>(source), dest);
    default:
      std::memcpy(dest, source, psa->cbElements);
      return S_OK;
  }
}

SAFEARRAY* Create(VARTYPE vt, LONG lowerBound, ULONG count, IRecordInfo* info) {
  ULONG size = VarTypeSize(vt);
  if (vt == VT_RECORD) {
    if (!info || FAILED(info->GetSize(&size))) return nullptr;
  }
  if (size == 0 || std::size_t{count} * size > kMaxBytes) return nullptr;
  void* data = std::calloc(count ? count : 1, size);
  if (!data) return nullptr;
  auto* psa = new (std::nothrow) SAFEARRAY{};
  if (!psa) {
    std::free(data);
    return nullptr;
  }
  psa->cDims = 1;
  psa->fFeatures = FeaturesOf(vt);
  psa->cbElements = size;
  psa->pvData = data;
  psa->rgsabound[0] = {count, lowerBound};
  psa->vt = vt;
  if (info) {  // only record arrays carry a description
    psa->recordInfo = info;
    info->AddRef();
    for (ULONG i = 0; i < count; ++i) info->RecordInit(ElementAt(psa, i));
  }
  return psa;
}

}  // namespace

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count) {
  return vt == VT_RECORD ? nullptr : Create(vt, lowerBound, count, nullptr);
}

SAFEARRAY* SafeArrayCreateVectorEx(VARTYPE vt, LONG lowerBound, ULONG count, void* extra) {
  return Create(vt, lowerBound, count, vt == VT_RECORD ? static_cast<IRecordInfo*>(extra) : nullptr);
}

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds) {
  if (dims != 1 || !bounds) return nullptr;
  return SafeArrayCreateVector(vt, bounds[0].lLbound, bounds[0].cElements);
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
  if (!psa) return S_OK;
  if (psa->cLocks > 0) return DISP_E_ARRAYISLOCKED;
  for (ULONG i = 0; i < psa->rgsabound[0].cElements; ++i) ClearElement(psa, ElementAt(psa, i));
  std::free(psa->pvData);
  if (psa->recordInfo) psa->recordInfo->Release();
  delete psa;
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) { return psa ? psa->cDims : 0; }

UINT SafeArrayGetElemsize(SAFEARRAY* psa) { return psa ? psa->cbElements : 0; }

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT dim, LONG* bound) {
  if (!psa || !bound) return E_INVALIDARG;
  if (dim != 1) return DISP_E_BADINDEX;
  *bound = psa->rgsabound[0].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT dim, LONG* bound) {
  if (!psa || !bound) return E_INVALIDARG;
  if (dim != 1) return DISP_E_BADINDEX;
  const long long upper =
      static_cast<long long>(psa->rgsabound[0].lLbound) + psa->rgsabound[0].cElements - 1;
  *bound = static_cast<LONG>(upper);
  return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* vt) {
  if (!psa || !vt) return E_INVALIDARG;
  *vt = psa->vt;
  return S_OK;
}

HRESULT SafeArrayGetRecordInfo(SAFEARRAY* psa, IRecordInfo** info) {
  if (!psa || !info) return E_INVALIDARG;
  *info = psa->recordInfo;
  if (!*info) return E_INVALIDARG;
  (*info)->AddRef();
  return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  ++psa->cLocks;
  return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks == 0) return E_UNEXPECTED;
  --psa->cLocks;
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** data) {
  if (!psa || !data) return E_INVALIDARG;
  ++psa->cLocks;
  *data = psa->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) { return SafeArrayUnlock(psa); }

HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* index, void* value) {
  ULONG pos = 0;
  if (HRESULT hr = Offset(psa, index, pos); FAILED(hr)) return hr;
  if (!value) return E_INVALIDARG;
  if (psa->vt != VT_RECORD) std::memset(value, 0, psa->cbElements);
  return CopyElement(psa, ElementAt(psa, pos), value);
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* index, void* value) {
  ULONG pos = 0;
  if (HRESULT hr = Offset(psa, index, pos); FAILED(hr)) return hr;
  const bool direct = psa->vt == VT_BSTR || IsInterfaceType(psa->vt);
  if (!value && !direct) return E_INVALIDARG;
  void* element = ElementAt(psa, pos);
  if (!direct && value == element) return S_OK;
  // Copy first, so that storing an element into its own slot keeps it alive.
  alignas(VARIANT) unsigned char scratch[sizeof(VARIANT)] = {};
  void* source = direct ? static_cast<void*>(&value) : value;
  if (psa->vt == VT_RECORD || psa->cbElements > sizeof scratch) {
    ClearElement(psa, element);
    return CopyElement(psa, source, element);
  }
  if (HRESULT hr = CopyElement(psa, source, scratch); FAILED(hr)) return hr;
  ClearElement(psa, element);
  std::memcpy(element, scratch, psa->cbElements);
  return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!psa) return E_INVALIDARG;
  SafeArrayPtr copy(Create(psa->vt, psa->rgsabound[0].lLbound, psa->rgsabound[0].cElements,
                           psa->recordInfo));
  if (!copy) return E_OUTOFMEMORY;
  for (ULONG i = 0; i < psa->rgsabound[0].cElements; ++i) {
    if (HRESULT hr = CopyElement(psa, ElementAt(psa, i), ElementAt(copy.get(), i)); FAILED(hr))
      return hr;
  }
  *out = copy.release();
  return S_OK;
}

}  // namespace com
