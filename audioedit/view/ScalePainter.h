// The time scale: a strip with a minor tick every 20 pixels, a major tick every 80 pixels
// and, when labels are wanted, the time of each major tick's column as minutes.seconds.frames
// (frames are CD frames, 75 per second) in a 100-pixel box 2 pixels right of the tick.
#pragma once

#include <cstdint>
#include <string>

#include "audioedit/view/ColumnMapping.h"
#include "audioedit/view/ViewColours.h"
#include "platform/gdi/DeviceContext.h"

namespace audioedit::view {

inline constexpr int kMinorTickSpacing = 20;
inline constexpr int kMajorTickSpacing = 80;
inline constexpr int kMinorTickHeight = 5;
inline constexpr int kLabelOffset = 2;
inline constexpr int kLabelBoxWidth = 100;

// "mm.ss.ff" for a time in milliseconds (minutes are not limited to two digits).
std::string ScaleLabel(std::uint32_t ms);

// Paints the scale into `strip` (its bottom row is the base line). Labels come from `labels`;
// none when it is null.
void PaintScale(gdi::DeviceContext& dc, const gdi::RECT& strip, const ViewColours& colours,
                const ColumnMapping* labels);

}  // namespace audioedit::view
