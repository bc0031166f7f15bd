// Draws the dividers over what is already painted, each as a 2-pixel vertical line in the
// colour of its kind across both bands, the selected one with an 8 × 9 handle in its colour
// across row Upper.bottom + 1; then the current mark, if shown, as the inverse of what lies
// beneath it. Also the divider time text ("mm:ss:ff") written next to a divider.
#pragma once

#include <optional>
#include <string>

#include "audioedit/Divider.h"
#include "audioedit/view/ViewScene.h"
#include "platform/gdi/DeviceContext.h"

namespace audioedit::view {

inline constexpr int kHandleHalfWidth = 4;
inline constexpr int kHandleAbove = 3;  // rows above Upper.bottom
inline constexpr int kHandleBelow = 6;  // Upper.bottom + 6 is the first row below the handle
inline constexpr int kTimeTextGap = 2;

// The colour that paints dividers of `type`; none for kinds that are not drawn.
std::optional<ViewColour> DividerColour(std::int32_t type);

void PaintDividersAndMark(gdi::DeviceContext& dc, const ViewScene& scene);

// "mm:ss:ff" of a CD frame.
std::string DividerTimeLabel(std::uint32_t frame);

// Writes the divider's time on row Wave.top next to client column x: right of the line near
// the left edge, left of it near the right edge, centred elsewhere.
void PaintDividerTime(gdi::DeviceContext& dc, const ViewLayout& layout, int x,
                      const DIVIDER& divider);

}  // namespace audioedit::view
