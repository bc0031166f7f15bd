#include "audioedit/view/ScalePainter.h"

#include <cstdio>

namespace audioedit::view {

std::string ScaleLabel(std::uint32_t ms) {
  const std::uint64_t frame = (std::uint64_t{ms} * 75 / 1000) % 75;
  char text[32];
  std::snprintf(text, sizeof text, "%02u.%02u.%02u", ms / 60000u, (ms % 60000u) / 1000u,
                static_cast<unsigned>(frame));
  return text;
}

void PaintScale(gdi::DeviceContext& dc, const gdi::RECT& strip, const ViewColours& colours,
                const ColumnMapping* labels) {
  const gdi::Pen oldPen = dc.SelectPen(colours.PenOf(ViewColour::ScaleTicks));
  dc.FillRect(strip, colours.BrushOf(ViewColour::ScaleBg));
  const gdi::COLORREF oldText = dc.SetTextColor(kScaleLabelColour);
  const int oldMode = dc.SetBkMode(gdi::TRANSPARENT);

  for (int x = 0; x <= strip.right; x += kMinorTickSpacing) {
    if (x % kMajorTickSpacing == 0) {
      dc.MoveTo(x, strip.bottom);
      dc.LineTo(x, strip.top - 1);
      if (labels != nullptr) {
        const gdi::RECT box{x + kLabelOffset, strip.top, x + kLabelOffset + kLabelBoxWidth,
                            strip.bottom};
        dc.TextOutClipped(box.left, box.top, box, ScaleLabel(labels->MillisecondsAtColumn(x)));
      }
    } else {
      dc.MoveTo(x, strip.bottom);
      dc.LineTo(x, strip.bottom - kMinorTickHeight);
    }
  }
  dc.MoveTo(0, strip.bottom);
  dc.LineTo(strip.right, strip.bottom);

  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldText);
  dc.SelectPen(oldPen);
}

}  // namespace audioedit::view
