// Everything a painter needs to know about one paint: where things go (layout), how frames
// map to columns (mapping), the colours, and the control's loaded state (source).
#pragma once

#include <cstdint>
#include <limits>

#include "audioedit/view/ColumnMapping.h"
#include "audioedit/view/ViewColours.h"
#include "audioedit/view/ViewLayout.h"
#include "audioedit/view/ViewSource.h"

namespace audioedit::view {

// Columns far outside the view are brought into a range that drawing coordinates can hold.
constexpr int ClampColumn(std::int64_t column) {
  constexpr std::int64_t kLimit = std::int64_t{1} << 30;
  return static_cast<int>(column < -kLimit ? -kLimit : column > kLimit ? kLimit : column);
}

// The columns from the first divider's (the start) to the last divider's (the end), both
// included and not clamped to the view. Without dividers every column is active.
struct ActiveRange {
  std::int64_t first = std::numeric_limits<std::int64_t>::min();
  std::int64_t last = std::numeric_limits<std::int64_t>::max();
  bool Contains(std::int64_t column) const { return column >= first && column <= last; }
};

struct ViewScene {
  const ViewLayout& layout;
  const ColumnMapping& mapping;
  const ViewColours& colours;
  const ViewSource& source;

  ActiveRange Active() const {
    ActiveRange range;
    bool first = true;
    source.VisitDividers([&](const DIVIDER& divider, bool) {
      const std::int64_t column = mapping.ColumnOfFrame(divider.frame);
      if (first) range.first = column;
      range.last = column;
      first = false;
    });
    return range;
  }
};

}  // namespace audioedit::view
