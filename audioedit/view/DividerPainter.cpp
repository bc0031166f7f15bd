#include "audioedit/view/DividerPainter.h"

#include <cstdio>

namespace audioedit::view {

std::optional<ViewColour> DividerColour(std::int32_t type) {
  switch (type) {
    case DIV_Index:
      return ViewColour::Index;
    case DIV_Split:
      return ViewColour::Split;
    case DIV_Start:
      return ViewColour::Start;
    case DIV_End:
      return ViewColour::End;
    default:
      return std::nullopt;
  }
}

namespace {

bool OnScreen(std::int64_t column, int right) { return column >= 0 && column <= right; }

void PaintCurrentMark(gdi::DeviceContext& dc, const ViewScene& scene) {
  const std::int64_t x = scene.mapping.ColumnOfFrame(scene.source.CurrentFrame());
  if (!OnScreen(x, scene.layout.Right())) return;
  const gdi::Pen oldPen = dc.SelectPen(scene.colours.PenOf(ViewColour::CurrentMark));
  const int oldRop = dc.SetROP2(gdi::R2_NOT);
  dc.MoveTo(static_cast<int>(x), scene.layout.upper.top - 1);
  dc.LineTo(static_cast<int>(x), scene.layout.lower.bottom);
  dc.SetROP2(oldRop);
  dc.SelectPen(oldPen);
}

}  // namespace

void PaintDividersAndMark(gdi::DeviceContext& dc, const ViewScene& scene) {
  const ViewLayout& layout = scene.layout;
  const gdi::Pen oldPen = dc.GetPen();
  scene.source.VisitDividers([&](const DIVIDER& divider, bool selected) {
    const std::int64_t column = scene.mapping.ColumnOfFrame(divider.frame);
    const std::optional<ViewColour> colour = DividerColour(divider.type);
    if (!OnScreen(column, layout.Right()) || !colour) return;
    const int x = static_cast<int>(column);
    dc.SelectPen(scene.colours.PenOf(*colour));
    dc.MoveTo(x, layout.upper.top);
    dc.LineTo(x, layout.lower.bottom);
    if (selected) {
      const gdi::RECT handle{x - kHandleHalfWidth, layout.upper.bottom - kHandleAbove,
                             x + kHandleHalfWidth, layout.upper.bottom + kHandleBelow};
      dc.FillRect(handle, scene.colours.SolidBrushOf(*colour));
    }
  });
  dc.SelectPen(oldPen);
  if (scene.source.CurrentMarkShown()) PaintCurrentMark(dc, scene);
}

std::string DividerTimeLabel(std::uint32_t frame) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", frame / 4500u, (frame / 75u) % 60u,
                frame % 75u);
  return text;
}

void PaintDividerTime(gdi::DeviceContext& dc, const ViewLayout& layout, int x,
                      const DIVIDER& divider) {
  const std::string text = DividerTimeLabel(divider.frame);
  const int width = dc.GetTextExtent(text).cx;
  const int half = width / 2;
  int left = x - half;
  if (x - layout.view.left < half) {
    left = x + kTimeTextGap;
  } else if (layout.Right() - x < half) {
    left = x - width - kTimeTextGap;
  }
  const gdi::COLORREF oldText = dc.SetTextColor(kTimeTextColour);
  const int oldMode = dc.SetBkMode(gdi::OPAQUE);
  dc.TextOut(left, layout.wave.top, text);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldText);
}

}  // namespace audioedit::view
