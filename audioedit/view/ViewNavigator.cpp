#include "audioedit/view/ViewNavigator.h"

#include <algorithm>
#include <limits>

#include "platform/window/WindowTypes.h"

namespace audioedit::view {
namespace {

constexpr std::uint32_t kMaxZoom = std::uint32_t{1} << 31;

int ToInt(std::uint64_t v) {
  return static_cast<int>(std::min<std::uint64_t>(v, std::numeric_limits<int>::max()));
}

}  // namespace

ViewNavigator::ViewNavigator(const ViewSource& source, ViewWindow& window, const ViewLayout& layout)
    : source_(source), window_(window), layout_(layout) {}

ColumnMapping ViewNavigator::Mapping() const {
  return ColumnMapping(source_.AudioInfo(), zoom_, layout_.Right(), scroll_);
}

void ViewNavigator::SetRangeAndPage() {
  win::ScrollInfo info;
  info.min = 0;
  info.max = ToInt(std::uint64_t{Mapping().ColumnCount()} + 1);
  info.page = static_cast<unsigned>(std::max(layout_.Right(), 0) + 1);
  window_.HorizontalScrollBar().SetInfo(info, win::SIF_RANGE | win::SIF_PAGE);
}

void ViewNavigator::Place() {
  const gdi::RECT& s = layout_.scrollBar;
  window_.HorizontalScrollBar().Move(win::Rect{s.left, s.top, s.right, s.bottom});
}

void ViewNavigator::MoveTo(int position) {
  win::ScrollInfo info;
  info.pos = position;
  scroll_ = window_.HorizontalScrollBar().SetInfo(info, win::SIF_POS);
  window_.InvalidateAll();
}

com::HRESULT ViewNavigator::ZoomIn() {
  if (!Loaded()) return com::S_FALSE;
  if (Mapping().PeaksPerColumn() == 1 || zoom_ >= kMaxZoom) return com::S_OK;
  zoom_ *= 2;
  SetRangeAndPage();
  window_.HorizontalScrollBar().Enable(true);
  ScrollToColumn(Mapping().AbsoluteColumnOfFrame(source_.CurrentFrame()), true);
  return com::S_OK;
}

com::HRESULT ViewNavigator::ZoomOut() {
  if (!Loaded()) return com::S_FALSE;
  if (zoom_ <= 1) return com::S_OK;
  zoom_ /= 2;
  SetRangeAndPage();
  if (zoom_ < 2) {
    window_.HorizontalScrollBar().Enable(false);
    MoveTo(0);
    return com::S_OK;
  }
  window_.HorizontalScrollBar().Enable(true);
  ScrollToColumn(Mapping().AbsoluteColumnOfFrame(source_.CurrentFrame()), true);
  return com::S_OK;
}

com::HRESULT ViewNavigator::ZoomOutFull() {
  if (!Loaded()) return com::S_FALSE;
  scroll_ = 0;
  if (zoom_ == 1) return com::S_OK;
  zoom_ = 1;
  SetRangeAndPage();
  window_.HorizontalScrollBar().Enable(false);
  MoveTo(0);
  return com::S_OK;
}

com::HRESULT ViewNavigator::PutZoom(std::uint32_t zoom) {
  zoom_ = std::max<std::uint32_t>(zoom, 1);
  if (!Loaded()) return com::S_OK;
  SetRangeAndPage();
  window_.HorizontalScrollBar().Enable(zoom_ > 1);
  MoveTo(zoom_ > 1 ? static_cast<int>(scroll_) : 0);
  return com::S_OK;
}

com::HRESULT ViewNavigator::ScrollToMs(std::uint32_t ms) {
  if (!Loaded()) return com::S_FALSE;
  const std::uint32_t frame = static_cast<std::uint32_t>(std::uint64_t{ms} * 75 / 1000);
  ScrollToColumn(Mapping().AbsoluteColumnOfFrame(frame), true);
  return com::S_OK;
}

void ViewNavigator::ScrollToColumn(std::uint64_t column, bool centre) {
  win::ScrollBar& bar = window_.HorizontalScrollBar();
  const std::uint64_t half = bar.GetInfo().page / 2;
  if (centre) column = column > half ? column - half : 0;
  const int highest = std::max(bar.HighestPosition(), 0);
  MoveTo(static_cast<int>(std::min<std::uint64_t>(column, static_cast<std::uint64_t>(highest))));
}

bool ViewNavigator::BringFrameIntoView(std::uint32_t frame) {
  const ColumnMapping mapping = Mapping();
  const std::int64_t column = mapping.ColumnOfFrame(frame);
  if (column >= 0 && column <= layout_.Right()) return false;
  ScrollToColumn(mapping.AbsoluteColumnOfFrame(frame), true);
  return true;
}

void ViewNavigator::OnHScroll(unsigned request) {
  if (!Loaded()) return;
  win::ScrollBar& bar = window_.HorizontalScrollBar();
  const win::ScrollInfo info = bar.GetInfo();
  const int highest = bar.HighestPosition();
  const int page = static_cast<int>(std::min<unsigned>(info.page, kMaxZoom));
  int position = info.pos;
  switch (request) {
    case win::SB_LINELEFT:
      position = info.pos > info.min ? info.pos - 1 : info.pos;
      break;
    case win::SB_LINERIGHT:
      position = info.pos < highest ? info.pos + 1 : info.pos;
      break;
    case win::SB_PAGELEFT:
      position = std::max(info.pos - page, info.min);
      break;
    case win::SB_PAGERIGHT:
      position = static_cast<int>(std::min<std::int64_t>(std::int64_t{info.pos} + page, highest));
      break;
    case win::SB_THUMBPOSITION:
    case win::SB_THUMBTRACK:
      position = info.trackPos;
      break;
    case win::SB_LEFT:
      position = info.min;
      break;
    case win::SB_RIGHT:
      position = highest;
      break;
    default:
      return;  // end of scroll and anything else
  }
  MoveTo(position);
}

void ViewNavigator::OnSize() {
  if (!Loaded()) return;
  SetRangeAndPage();
  Place();
  scroll_ = window_.HorizontalScrollBar().GetInfo().pos;
}

void ViewNavigator::Reset() {
  zoom_ = 1;
  scroll_ = 0;
  win::ScrollBar& bar = window_.HorizontalScrollBar();
  win::ScrollInfo info;  // 0 .. 0, position 0
  if (source_.AudioInfo().total_peaks == 0) {
    bar.SetInfo(info, win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS);
    bar.Show(false);
    return;
  }
  info.max = ToInt(std::uint64_t{Mapping().ColumnCount()} + 1);
  info.page = static_cast<unsigned>(std::max(layout_.Right(), 0) + 1);
  bar.SetInfo(info, win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS);
  Place();
  bar.Show(true);
  bar.Enable(false);
}

}  // namespace audioedit::view
