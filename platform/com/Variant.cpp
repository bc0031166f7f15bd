#include "platform/com/Variant.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "platform/com/Dispatch.h"
#include "platform/com/RecordInfo.h"
#include "platform/com/SafeArray.h"
#include "platform/com/VarType.h"

namespace com {
namespace {


// A VARIANT's value seen as a number: an exact integer or a real.
struct Number {
  bool real = false;
  long long i = 0;
  double d = 0;
};

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c + 32 : c; };
    if (lower(a[k]) != lower(b[k])) return false;
  }
  return true;
}

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
  return s;
}

// Decimal text: an integer, or a real with '.' and/or an exponent.
HRESULT ParseNumber(BSTR text, Number& n) {
  const std::u16string_view wide = Trim({text ? text : u"", SysStringLen(text)});
  std::string ascii;
  for (char16_t c : wide) {
    if (c >= 0x80) return DISP_E_TYPEMISMATCH;
    ascii.push_back(static_cast<char>(c));
  }
  std::string_view s = ascii;
  if (!s.empty() && s.front() == '+') {
    s.remove_prefix(1);
    if (!s.empty() && s.front() == '-') return DISP_E_TYPEMISMATCH;
  }
  if (s.empty() || s.front() == '+') return DISP_E_TYPEMISMATCH;
  const char* end = s.data() + s.size();
  long long i = 0;
  auto r = std::from_chars(s.data(), end, i);
  if (r.ptr == end && r.ec == std::errc()) {
    n = {false, i, 0};
    return S_OK;
  }
  const bool integral = s.find_first_of(".eE") == std::string_view::npos;
  if (r.ec == std::errc::result_out_of_range && integral) return DISP_E_OVERFLOW;
  double d = 0;
  auto rd = std::from_chars(s.data(), end, d, std::chars_format::general);
  if (rd.ptr != end || (rd.ec == std::errc() && !std::isfinite(d))) return DISP_E_TYPEMISMATCH;
  if (rd.ec == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
  n = {true, 0, d};
  return S_OK;
}

HRESULT ReadNumber(const VARIANT& v, Number& n) {
  switch (v.vt) {
    case VT_EMPTY: n = {}; return S_OK;
    case VT_I1: n = {false, v.cVal, 0}; return S_OK;
    case VT_UI1: n = {false, v.bVal, 0}; return S_OK;
    case VT_I2: n = {false, v.iVal, 0}; return S_OK;
    case VT_UI2: n = {false, v.uiVal, 0}; return S_OK;
    case VT_BOOL: n = {false, v.boolVal, 0}; return S_OK;
    case VT_I4:
    case VT_INT: n = {false, v.lVal, 0}; return S_OK;
    case VT_UI4:
    case VT_UINT: n = {false, v.ulVal, 0}; return S_OK;
    case VT_R4: n = {true, 0, v.fltVal}; return S_OK;
    case VT_R8: n = {true, 0, v.dblVal}; return S_OK;
    case VT_BSTR: return ParseNumber(v.bstrVal, n);
    default: return DISP_E_TYPEMISMATCH;
  }
}

HRESULT ToInteger(const Number& n, long long& out) {
  if (!n.real) {
    out = n.i;
    return S_OK;
  }
  if (!std::isfinite(n.d)) return DISP_E_OVERFLOW;
  const double r = std::nearbyint(n.d);  // to nearest, ties to even
  if (r < -9.0e18 || r > 9.0e18) return DISP_E_OVERFLOW;
  out = static_cast<long long>(r);
  return S_OK;
}

template <class T>
HRESULT StoreInteger(const Number& n, T& slot) {
  long long i = 0;
  if (HRESULT hr = ToInteger(n, i); FAILED(hr)) return hr;
  if (i < static_cast<long long>(std::numeric_limits<T>::min()) ||
      i > static_cast<long long>(std::numeric_limits<T>::max()))
    return DISP_E_OVERFLOW;
  slot = static_cast<T>(i);
  return S_OK;
}

double AsReal(const Number& n) { return n.real ? n.d : static_cast<double>(n.i); }

HRESULT NumberToText(const VARIANT& v, USHORT flags, VARIANT& out) {
  char buf[64];
  std::to_chars_result r{};
  if (v.vt == VT_BOOL && (flags & VARIANT_ALPHABOOL)) {
    out.bstrVal = SysAllocString(v.boolVal ? u"True" : u"False");
  } else {
    if (v.vt == VT_R4) {
      r = std::to_chars(buf, buf + sizeof buf, v.fltVal);
    } else {
      Number n;
      if (HRESULT hr = ReadNumber(v, n); FAILED(hr)) return hr;
      r = n.real ? std::to_chars(buf, buf + sizeof buf, n.d) : std::to_chars(buf, buf + sizeof buf, n.i);
    }
    std::u16string wide(buf, r.ptr);
    out.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  if (!out.bstrVal) return E_OUTOFMEMORY;
  out.vt = VT_BSTR;
  return S_OK;
}

HRESULT ToBool(const VARIANT& v, VARIANT& out) {
  if (v.vt == VT_BSTR) {
    const std::u16string_view s = Trim({v.bstrVal ? v.bstrVal : u"", SysStringLen(v.bstrVal)});
    if (EqualsIgnoreCase(s, u"true") || EqualsIgnoreCase(s, u"false")) {
      out.vt = VT_BOOL;
      out.boolVal = EqualsIgnoreCase(s, u"true") ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    }
  }
  Number n;
  if (HRESULT hr = ReadNumber(v, n); FAILED(hr)) return hr;
  out.vt = VT_BOOL;
  out.boolVal = (n.real ? n.d != 0 : n.i != 0) ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

// Converts a number-like value to a numeric type.
HRESULT ToNumeric(const VARIANT& v, VARTYPE vt, VARIANT& out) {
  Number n;
  if (HRESULT hr = ReadNumber(v, n); FAILED(hr)) return hr;
  HRESULT hr = S_OK;
  switch (vt) {
    case VT_I1: hr = StoreInteger(n, out.cVal); break;
    case VT_UI1: hr = StoreInteger(n, out.bVal); break;
    case VT_I2: hr = StoreInteger(n, out.iVal); break;
    case VT_UI2: hr = StoreInteger(n, out.uiVal); break;
    case VT_I4:
    case VT_INT: hr = StoreInteger(n, out.lVal); break;
    case VT_UI4:
    case VT_UINT: hr = StoreInteger(n, out.ulVal); break;
    case VT_R8: out.dblVal = AsReal(n); break;
    case VT_R4: {
      const double d = AsReal(n);
      if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) return DISP_E_OVERFLOW;
      out.fltVal = static_cast<float>(d);
      break;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
  if (SUCCEEDED(hr)) out.vt = vt;
  return hr;
}

HRESULT ToObject(const VARIANT& v, VARTYPE vt, VARIANT& out) {
  IUnknown* source = nullptr;
  if (v.vt == VT_UNKNOWN || v.vt == VT_DISPATCH)
    source = v.punkVal;
  else if (v.vt != VT_EMPTY)
    return DISP_E_TYPEMISMATCH;
  out.punkVal = nullptr;
  if (source && vt == VT_DISPATCH && v.vt != VT_DISPATCH) {
    if (FAILED(source->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&out.pdispVal))))
      return DISP_E_TYPEMISMATCH;
  } else if (source) {
    source->AddRef();
    out.punkVal = source;
  }
  out.vt = vt;
  return S_OK;
}

// Reads the value property of an object (DISPID_VALUE), so that it can be converted.
HRESULT ValueProperty(IDispatch* object, VARIANT& out) {
  if (!object) return DISP_E_TYPEMISMATCH;
  DISPPARAMS none;
  HRESULT hr = object->Invoke(DISPID_VALUE, GUID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                              &none, &out, nullptr, nullptr);
  return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

// A shallow VARIANT holding the value a by-reference VARIANT points to (nothing owned).
HRESULT Dereference(const VARIANT*& src, VARIANT& scratch) {
  for (int depth = 0; src->vt & VT_BYREF; ++depth) {
    if (!src->byref || depth > 8) return E_INVALIDARG;
    const VARTYPE base = src->vt & ~VT_BYREF;
    if (base == VT_VARIANT) {
      src = src->pvarVal;
      continue;
    }
    VariantInit(&scratch);
    if (base == VT_RECORD) {
      scratch.record = src->record;
    } else if (base & VT_ARRAY) {
      scratch.parray = *src->pparray;
    } else {
      const ULONG size = VarTypeSize(base);
      if (size == 0 || size > sizeof(double)) return DISP_E_BADVARTYPE;
      std::memcpy(&scratch.lVal, src->byref, size);
    }
    scratch.vt = base;
    src = &scratch;
  }
  return S_OK;
}

HRESULT Convert(const VARIANT& v, USHORT flags, VARTYPE vt, VARIANT& out) {
  if (v.vt == vt) return VariantCopy(&out, &v);
  if (vt == VT_EMPTY) return S_OK;
  if ((vt & VT_ARRAY) || vt == VT_RECORD || vt == VT_NULL || vt == VT_ERROR ||
      (v.vt & VT_ARRAY) || v.vt == VT_RECORD || v.vt == VT_NULL || v.vt == VT_ERROR)
    return DISP_E_TYPEMISMATCH;
  if (IsInterfaceType(vt)) return ToObject(v, vt, out);
  if (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) {
    if (flags & VARIANT_NOVALUEPROP) return DISP_E_TYPEMISMATCH;
    Variant value;
    IDispatch* object = v.vt == VT_DISPATCH ? v.pdispVal : nullptr;
    if (HRESULT hr = ValueProperty(object, *value.Raw()); FAILED(hr)) return hr;
    if (value.Type() == VT_DISPATCH || value.Type() == VT_UNKNOWN) return DISP_E_TYPEMISMATCH;
    return Convert(value.Get(), flags, vt, out);
  }
  if (vt == VT_BSTR && v.vt == VT_EMPTY) {
    out.bstrVal = SysAllocString(u"");
    out.vt = VT_BSTR;
    return out.bstrVal ? S_OK : E_OUTOFMEMORY;
  }
  if (vt == VT_BSTR) return NumberToText(v, flags, out);
  if (vt == VT_BOOL) return ToBool(v, out);
  if (VarTypeSize(vt) == 0) return DISP_E_BADVARTYPE;
  return ToNumeric(v, vt, out);
}

// Replaces `dest` with `value`, which the call takes over (and frees if dest cannot be cleared).
HRESULT Install(VARIANT* dest, VARIANT& value) {
  if (HRESULT hr = VariantClear(dest); FAILED(hr)) {
    VariantClear(&value);
    return hr;
  }
  std::memcpy(dest, &value, sizeof value);
  return S_OK;
}

}  // namespace

void VariantInit(VARIANT* v) {
  if (!v) return;
  std::memset(v, 0, sizeof *v);
  v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  if (!(v->vt & VT_BYREF)) {
    if (v->vt & VT_ARRAY) {
      if (HRESULT hr = SafeArrayDestroy(v->parray); FAILED(hr)) return hr;
    } else if (v->vt == VT_BSTR) {
      SysFreeString(v->bstrVal);
    } else if (IsInterfaceType(v->vt)) {
      if (v->punkVal) v->punkVal->Release();
    } else if (v->vt == VT_RECORD) {
      if (IRecordInfo* info = v->record.pRecInfo) {
        if (v->record.pvRecord) {
          info->RecordClear(v->record.pvRecord);
          info->RecordDestroy(v->record.pvRecord);
        }
        info->Release();
      }
    }
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (dest == src) return S_OK;
  VARIANT copy;
  std::memcpy(&copy, src, sizeof copy);  // scalars and by-reference pointers
  if (!(src->vt & VT_BYREF)) {
    if (src->vt & VT_ARRAY) {
      if (HRESULT hr = SafeArrayCopy(src->parray, &copy.parray); src->parray && FAILED(hr))
        return hr;
    } else if (src->vt == VT_BSTR) {
      copy.bstrVal = Bstr::CopyOf(src->bstrVal).Detach();
      if (src->bstrVal && !copy.bstrVal) return E_OUTOFMEMORY;
    } else if (IsInterfaceType(src->vt)) {
      if (copy.punkVal) copy.punkVal->AddRef();
    } else if (src->vt == VT_RECORD) {
      IRecordInfo* info = src->record.pRecInfo;
      if (info && src->record.pvRecord) {
        if (HRESULT hr = info->RecordCreateCopy(src->record.pvRecord, &copy.record.pvRecord);
            FAILED(hr))
          return hr;
      }
      if (info) info->AddRef();
    } else if (src->vt != VT_EMPTY && src->vt != VT_NULL && VarTypeSize(src->vt) == 0) {
      return DISP_E_BADVARTYPE;
    }
  }
  return Install(dest, copy);
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  VARIANT scratch;
  const VARIANT* value = src;
  if (HRESULT hr = Dereference(value, scratch); FAILED(hr)) return hr;
  if (value == dest) return S_OK;
  VARIANT copy;
  VariantInit(&copy);
  if (HRESULT hr = VariantCopy(&copy, value); FAILED(hr)) return hr;
  return Install(dest, copy);
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt) {
  if (!dest || !src) return E_INVALIDARG;
  if (vt & VT_BYREF) return DISP_E_BADVARTYPE;
  VARIANT scratch;
  const VARIANT* value = src;
  if (HRESULT hr = Dereference(value, scratch); FAILED(hr)) return hr;
  VARIANT result;
  VariantInit(&result);
  if (HRESULT hr = Convert(*value, flags, vt, result); FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  return Install(dest, result);
}

// --- Variant ---

Variant::Variant(Variant&& other) noexcept {
  std::memcpy(&v_, &other.v_, sizeof v_);
  VariantInit(&other.v_);
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    VariantClear(&v_);
    std::memcpy(&v_, &other.v_, sizeof v_);
    VariantInit(&other.v_);
  }
  return *this;
}

Variant Variant::FromScalar(VARTYPE vt, const void* value, std::size_t size) {
  Variant r;
  r.v_.vt = vt;
  std::memcpy(&r.v_.lVal, value, size);
  return r;
}

Variant Variant::FromLong(LONG value) { return FromScalar(VT_I4, &value, sizeof value); }

Variant Variant::FromULong(ULONG value) { return FromScalar(VT_UI4, &value, sizeof value); }

Variant Variant::FromBool(bool value) {
  const VARIANT_BOOL b = value ? VARIANT_TRUE : VARIANT_FALSE;
  return FromScalar(VT_BOOL, &b, sizeof b);
}

Variant Variant::FromString(std::u16string_view text) { return FromBstr(Bstr(text)); }

Variant Variant::FromBstr(Bstr text) {
  Variant r;
  r.v_.vt = VT_BSTR;
  r.v_.bstrVal = text.Detach();
  return r;
}

Variant Variant::FromDispatch(IDispatch* object) {
  if (object) object->AddRef();
  return FromScalar(VT_DISPATCH, &object, sizeof object);
}

Variant Variant::FromUnknown(IUnknown* object) {
  if (object) object->AddRef();
  return FromScalar(VT_UNKNOWN, &object, sizeof object);
}

Variant Variant::CopyOf(const VARIANT& source) {
  Variant r;
  VariantCopy(&r.v_, &source);
  return r;
}

VARIANT* Variant::Put() {
  VariantClear(&v_);
  return &v_;
}

void Variant::Detach(VARIANT* dest) {
  std::memcpy(dest, &v_, sizeof v_);
  VariantInit(&v_);
}

void Variant::Attach(VARIANT* source) {
  VariantClear(&v_);
  std::memcpy(&v_, source, sizeof v_);
  VariantInit(source);
}

}  // namespace com
