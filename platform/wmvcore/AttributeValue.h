// One attribute value as the runtime hands it out: its type and its bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wmvcore/WmMetadataEditor.h"

namespace wm {

struct AttributeValue {
  WMT_ATTR_DATATYPE type = WMT_TYPE_BINARY;
  std::vector<std::uint8_t> bytes;

  static AttributeValue String(std::u16string_view text);  // UTF-16LE plus the terminating zero
  static AttributeValue Dword(std::uint32_t value);
  static AttributeValue Qword(std::uint64_t value);
  static AttributeValue Word(std::uint16_t value);
  static AttributeValue Bool(bool value);

  // A value a caller passes in, checked against its type's size (a STRING must be whole UTF-16
  // characters; a missing terminator is added). Nothing for a malformed value.
  static std::optional<AttributeValue> FromCaller(WMT_ATTR_DATATYPE type,
                                                  std::span<const std::uint8_t> bytes);

  // The text of a STRING value without its terminator.
  std::u16string Text() const;
  // The little-endian number of a DWORD, BOOL, QWORD or WORD value.
  std::uint64_t Number() const;

  friend bool operator==(const AttributeValue&, const AttributeValue&) = default;
};

}  // namespace wm
