#include "platform/wmvcore/AttributeValue.h"

namespace wm {

namespace {

AttributeValue LittleEndian(WMT_ATTR_DATATYPE type, std::uint64_t value, int size) {
  AttributeValue out{type, {}};
  for (int i = 0; i < size; ++i) out.bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return out;
}

// The byte size a value of `type` must have, or 0 when any size goes.
std::size_t FixedSize(WMT_ATTR_DATATYPE type) {
  switch (type) {
    case WMT_TYPE_DWORD:
    case WMT_TYPE_BOOL:
      return 4;
    case WMT_TYPE_QWORD:
      return 8;
    case WMT_TYPE_WORD:
      return 2;
    case WMT_TYPE_GUID:
      return 16;
    default:
      return 0;
  }
}

}  // namespace

AttributeValue AttributeValue::String(std::u16string_view text) {
  AttributeValue out{WMT_TYPE_STRING, {}};
  out.bytes.reserve((text.size() + 1) * 2);
  for (const char16_t c : text) {
    out.bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  out.bytes.insert(out.bytes.end(), {0, 0});
  return out;
}

AttributeValue AttributeValue::Dword(std::uint32_t value) {
  return LittleEndian(WMT_TYPE_DWORD, value, 4);
}
AttributeValue AttributeValue::Qword(std::uint64_t value) {
  return LittleEndian(WMT_TYPE_QWORD, value, 8);
}
AttributeValue AttributeValue::Word(std::uint16_t value) {
  return LittleEndian(WMT_TYPE_WORD, value, 2);
}
AttributeValue AttributeValue::Bool(bool value) {
  return LittleEndian(WMT_TYPE_BOOL, value ? 1 : 0, 4);
}

std::optional<AttributeValue> AttributeValue::FromCaller(WMT_ATTR_DATATYPE type,
                                                         std::span<const std::uint8_t> bytes) {
  if (type < WMT_TYPE_DWORD || type > WMT_TYPE_GUID) return std::nullopt;
  const std::size_t size = FixedSize(type);
  if (size != 0 && bytes.size() != size) return std::nullopt;
  AttributeValue value{type, {bytes.begin(), bytes.end()}};
  if (type != WMT_TYPE_STRING) return value;
  if (bytes.size() % 2 != 0) return std::nullopt;
  return String(value.Text());
}

std::u16string AttributeValue::Text() const {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

std::uint64_t AttributeValue::Number() const {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < bytes.size() && i < 8; ++i)
    value |= std::uint64_t{bytes[i]} << (8 * i);
  return value;
}

}  // namespace wm
