// The Windows Media attribute name of each track attribute. Names beginning with "ID3/" name
// the ID3 frame of the same meaning; eaLeadArtist and eaAuthor share "Author".
#pragma once

#include <array>
#include <string_view>

#include "info/TrackTypes.h"

namespace info {

struct WmAttributeName {
  EAttribute attribute;
  std::u16string_view name;  // empty when the attribute has no Windows Media name
};

// 58 rows indexed by attribute value, in attribute order.
const std::array<WmAttributeName, kAttributeCount>& WmAttributeNames();

// The name of `attribute`, empty when it has none or lies outside 0..57.
std::u16string_view WmNameOfAttribute(int attribute);

}  // namespace info
