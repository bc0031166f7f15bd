// BSTR: a length-prefixed, zero-terminated UTF-16 string. The four bytes before the pointer
// hold the length in bytes (without the terminator). A null BSTR reads as the empty string.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/Types.h"

namespace com {

// Copies a zero-terminated string; null gives null.
BSTR SysAllocString(const OLECHAR* text);
// Copies `length` characters (embedded zeros included); null `text` gives a string of
// `length` zero characters.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// Allocates `bytes` bytes (an odd count is allowed) copied from `data`, or zeros when null.
BSTR SysAllocStringByteLen(const char* data, UINT bytes);
// Replaces *target with a copy of `text` (null gives an empty string). FALSE when out of
// memory or `target` is null; *target is unchanged then.
INT SysReAllocString(BSTR* target, const OLECHAR* text);
INT SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
// Length in characters; 0 for null.
UINT SysStringLen(BSTR text);
// Length in bytes; 0 for null.
UINT SysStringByteLen(BSTR text);

// Owns one BSTR. Move-only; the empty state holds null, which reads as "".
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::u16string_view text);
  explicit Bstr(const OLECHAR* text) : value_(SysAllocString(text)) {}
  // A copy of a BSTR by its stored length, so embedded zeros are kept (null stays null).
  static Bstr CopyOf(BSTR text);
  static Bstr FromUtf8(std::string_view text);
  static Bstr FromAnsi(std::string_view text);  // Windows-1252
  ~Bstr() { SysFreeString(value_); }

  Bstr(Bstr&& other) noexcept : value_(other.Detach()) {}
  Bstr& operator=(Bstr&& other) noexcept;
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  // A new BSTR with the same contents (null stays null).
  Bstr Copy() const;

  BSTR Get() const { return value_; }
  // Frees the current string and returns the slot to receive a new one (out parameters).
  BSTR* Put();
  BSTR Detach() noexcept;
  void Attach(BSTR text);
  void Reset() { Attach(nullptr); }

  UINT Length() const { return SysStringLen(value_); }
  bool Empty() const { return Length() == 0; }
  std::u16string_view View() const { return {value_ ? value_ : u"", Length()}; }
  std::u16string ToU16() const { return std::u16string(View()); }
  std::string ToUtf8() const;
  std::string ToAnsi() const;  // Windows-1252

 private:
  BSTR value_ = nullptr;
};

}  // namespace com
