// Which ID3v2 frame holds each attribute, and the attributes' names.
#pragma once

#include <array>
#include <string_view>

#include "info/TrackTypes.h"

namespace info {

struct AttributeFrameRow {
  EAttribute attribute;
  std::string_view name;   // "eaTitle"
  std::string_view frame;  // "TIT2", empty when the attribute is not kept in a tag
};

// 58 rows indexed by attribute value, in attribute order.
const std::array<AttributeFrameRow, kAttributeCount>& AttributeFrameMap();

// The frame of `attribute`, empty when it has none or lies outside 0..57.
std::string_view FrameOfAttribute(int attribute);
// The attribute called `name` ("eaTitle"), or -1.
int AttributeByName(std::string_view name);

}  // namespace info
