// Text that reaches the runtime from files and callers: UTF-8 paths, Windows-1252 tag text,
// UTF-16 strings, and numbers written as text in VARIANTs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/com/CodePage.h"
#include "platform/com/Variant.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // Every Windows-1252 byte string survives a round trip through UTF-16.
  if (com::Utf16ToAnsi(com::AnsiToUtf16(bytes)) != bytes) std::abort();

  // Decoding UTF-8 gives valid UTF-16, which survives a round trip through UTF-8.
  const std::u16string wide = com::Utf8ToUtf16(bytes);
  if (com::Utf8ToUtf16(com::Utf16ToUtf8(wide)) != wide) std::abort();

  // The same bytes as UTF-16 code units, including lone surrogates.
  std::u16string units(size / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
  const std::string utf8 = com::Utf16ToUtf8(units);
  const std::u16string back = com::Utf8ToUtf16(utf8);
  if (com::Utf16ToUtf8(back) != utf8) std::abort();
  com::Utf16ToAnsi(units);

  // Numbers and booleans written as text.
  com::Variant text = com::Variant::FromString(wide);
  for (com::VARTYPE vt : {com::VT_I1, com::VT_UI1, com::VT_I2, com::VT_UI2, com::VT_I4,
                          com::VT_UI4, com::VT_R4, com::VT_R8, com::VT_BOOL}) {
    com::Variant out;
    if (com::SUCCEEDED(com::VariantChangeType(out.Raw(), &text.Get(), 0, vt)) && out.Type() != vt)
      std::abort();
  }
  return 0;
}
