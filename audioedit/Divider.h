// DIVIDER: one divider of the list (kind, position in sample frames, position in CD frames),
// in the 24-byte layout used inside a safe array of dividers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/Types.h"

namespace audioedit {

enum DivType : std::int32_t {
  DIV_UNKNOWN = 0,
  DIV_Start = 1,
  DIV_End = 2,
  DIV_Index = 3,
  DIV_Split = 4,
  DIV_SelectStart = 5,
  DIV_SelectEnd = 6,
  DIV_Current = 7,
};

struct DIVIDER {
  std::int32_t type;     // a DivType value
  std::uint64_t sample;  // frame * freq / 75
  std::uint32_t frame;   // position in CD frames, 75 per second
};

static_assert(sizeof(DIVIDER) == 24);
static_assert(offsetof(DIVIDER, type) == 0);
static_assert(offsetof(DIVIDER, sample) == 8);
static_assert(offsetof(DIVIDER, frame) == 16);

// Record identity of DIVIDER in the type library.
inline constexpr com::GUID GUID_DIVIDER = com::MakeGuid("{0F5BF204-5728-43DB-B0FC-A1A1AF5C1032}");

}  // namespace audioedit
