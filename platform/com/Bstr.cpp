#include "platform/com/Bstr.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/com/CodePage.h"

namespace com {
namespace {

constexpr std::size_t kPrefix = sizeof(std::uint32_t);
// The prefix holds a 32-bit byte count; keep room for it and the terminator.
constexpr std::size_t kMaxBytes = std::numeric_limits<std::uint32_t>::max() - 16;

BSTR Allocate(const void* data, std::size_t bytes) {
  if (bytes > kMaxBytes) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR) + 1));
  if (!block) return nullptr;
  const auto count = static_cast<std::uint32_t>(bytes);
  std::memcpy(block, &count, kPrefix);
  unsigned char* text = block + kPrefix;
  if (data)
    std::memcpy(text, data, bytes);
  else
    std::memset(text, 0, bytes);
  std::memset(text + bytes, 0, sizeof(OLECHAR) + 1);  // terminator, also after an odd count
  return reinterpret_cast<BSTR>(text);
}

std::size_t TerminatedLength(const OLECHAR* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

}  // namespace

BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return nullptr;
  return Allocate(text, TerminatedLength(text) * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  return Allocate(text, std::size_t{length} * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(const char* data, UINT bytes) { return Allocate(data, bytes); }

INT SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length) {
  if (!target) return FALSE;
  BSTR fresh = SysAllocStringLen(text, length);
  if (!fresh) return FALSE;
  SysFreeString(*target);
  *target = fresh;
  return TRUE;
}

INT SysReAllocString(BSTR* target, const OLECHAR* text) {
  const std::size_t n = text ? TerminatedLength(text) : 0;
  if (n > kMaxBytes / sizeof(OLECHAR)) return FALSE;
  return SysReAllocStringLen(target, text ? text : u"", static_cast<UINT>(n));
}

void SysFreeString(BSTR text) {
  if (text) std::free(reinterpret_cast<unsigned char*>(text) - kPrefix);
}

UINT SysStringByteLen(BSTR text) {
  if (!text) return 0;
  std::uint32_t count;
  std::memcpy(&count, reinterpret_cast<const unsigned char*>(text) - kPrefix, kPrefix);
  return count;
}

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

Bstr::Bstr(std::u16string_view text)
    : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}

Bstr Bstr::FromUtf8(std::string_view text) { return Bstr(std::u16string_view(Utf8ToUtf16(text))); }

Bstr Bstr::FromAnsi(std::string_view text) { return Bstr(std::u16string_view(AnsiToUtf16(text))); }

Bstr& Bstr::operator=(Bstr&& other) noexcept {
  if (this != &other) Attach(other.Detach());
  return *this;
}

Bstr Bstr::CopyOf(BSTR text) {
  Bstr copy;
  if (text)
    copy.value_ = SysAllocStringByteLen(reinterpret_cast<const char*>(text), SysStringByteLen(text));
  return copy;
}

Bstr Bstr::Copy() const { return CopyOf(value_); }

BSTR* Bstr::Put() {
  Reset();
  return &value_;
}

BSTR Bstr::Detach() noexcept {
  BSTR v = value_;
  value_ = nullptr;
  return v;
}

void Bstr::Attach(BSTR text) {
  if (text == value_) return;
  SysFreeString(value_);
  value_ = text;
}

std::string Bstr::ToUtf8() const { return Utf16ToUtf8(View()); }

std::string Bstr::ToAnsi() const { return Utf16ToAnsi(View()); }

}  // namespace com
