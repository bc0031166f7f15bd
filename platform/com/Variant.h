// Functions on VARIANTs and an owning wrapper. A VARIANT owns what it holds: its BSTR, one
// reference of its interface or record description, its record copy and its array.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/com/AutomationTypes.h"
#include "platform/com/Bstr.h"

namespace com {

// Flags of VariantChangeType.
inline constexpr USHORT VARIANT_NOVALUEPROP = 0x1;
inline constexpr USHORT VARIANT_ALPHABOOL = 0x2;  // booleans become "True"/"False", not "-1"/"0"

void VariantInit(VARIANT* v);
// Frees what the VARIANT holds and leaves it VT_EMPTY. By-reference values are not owned.
HRESULT VariantClear(VARIANT* v);
// Clears `dest`, then makes it a deep copy of `src` (by-reference values copy the pointer).
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// As VariantCopy, but a by-reference source is copied as the value it points to.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src);
// Converts `src` (followed through VT_BYREF) to type `vt` into `dest`; dest may be src.
// Integers that do not fit give DISP_E_OVERFLOW; impossible conversions
// DISP_E_TYPEMISMATCH; dest is unchanged on failure.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt);

// Owns one VARIANT. Move-only; Copy() makes a deep copy.
class Variant {
 public:
  Variant() { VariantInit(&v_); }
  ~Variant() { VariantClear(&v_); }
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant&& other) noexcept;
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  static Variant FromLong(LONG value);
  static Variant FromULong(ULONG value);
  static Variant FromBool(bool value);
  static Variant FromString(std::u16string_view text);
  // Takes the string over.
  static Variant FromBstr(Bstr text);
  // Adds a reference.
  static Variant FromDispatch(IDispatch* object);
  static Variant FromUnknown(IUnknown* object);
  // Deep copy of a VARIANT someone else owns.
  static Variant CopyOf(const VARIANT& source);

  Variant Copy() const { return CopyOf(v_); }
  VARTYPE Type() const { return v_.vt; }
  const VARIANT& Get() const { return v_; }
  VARIANT* Raw() { return &v_; }
  // Clears the value and returns the VARIANT to be filled (out parameters).
  VARIANT* Put();
  // Moves the value into an uninitialised VARIANT owned by the caller; this becomes empty.
  void Detach(VARIANT* dest);
  // Takes over `source`'s value; `source` becomes VT_EMPTY.
  void Attach(VARIANT* source);
  HRESULT ChangeType(VARTYPE vt, USHORT flags = 0) { return VariantChangeType(&v_, &v_, flags, vt); }

 private:
  static Variant FromScalar(VARTYPE vt, const void* value, std::size_t size);
  VARIANT v_;
};

}  // namespace com
