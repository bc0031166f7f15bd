// Zoom and scrolling of the view: the zoom factor, the first visible column (the scroll
// position) and the horizontal scroll bar that shows them.
//
// At zoom z the file spans about z × (r + 1) columns. The scroll bar's range is 0 .. N + 1
// and its page r + 1, so its highest position M = N + 1 - r (never below 0) leaves the last
// page of the file filling the view. The bar is disabled at zoom 1.
//
// Choices where the older behaviour was unsound or unsettled:
// - a zoom of 0 is taken as 1; putting CurrentZoom refreshes the scroll bar and repaints;
// - ScrollToMs brings the time into view, centred (it used to repaint only);
// - scrolling to a column when the file has fewer columns than the view goes to 0;
// - a load without peak records leaves zoom 1, position 0 and the scroll bar hidden.
// Everything here runs on the window thread.
#pragma once

#include <cstdint>

#include "audioedit/view/ColumnMapping.h"
#include "audioedit/view/ViewLayout.h"
#include "audioedit/view/ViewSource.h"
#include "audioedit/view/ViewWindow.h"
#include "platform/com/Types.h"

namespace audioedit::view {

class ViewNavigator {
 public:
  ViewNavigator(const ViewSource& source, ViewWindow& window, const ViewLayout& layout);
  ViewNavigator(const ViewNavigator&) = delete;
  ViewNavigator& operator=(const ViewNavigator&) = delete;

  std::uint32_t Zoom() const { return zoom_; }
  std::int64_t Scroll() const { return scroll_; }
  ColumnMapping Mapping() const;

  com::HRESULT ZoomIn();
  com::HRESULT ZoomOut();
  com::HRESULT ZoomOutFull();
  com::HRESULT PutZoom(std::uint32_t zoom);
  com::HRESULT ScrollToMs(std::uint32_t ms);
  // Makes `column` (absolute) the first visible column, or the middle one when `centre`.
  void ScrollToColumn(std::uint64_t column, bool centre);
  // Scrolls to `frame`, centred, when its column is off screen. True when it scrolled.
  bool BringFrameIntoView(std::uint32_t frame);

  void OnHScroll(unsigned request);
  // After the layout changed to a new client size.
  void OnSize();
  // End of a load: zoom 1, position 0, the scroll bar placed, shown and disabled.
  void Reset();

 private:
  bool Loaded() const { return source_.HasAudio(); }
  void SetRangeAndPage();
  void Place();
  void MoveTo(int position);  // sets the bar's position and the view's, then repaints

  const ViewSource& source_;
  ViewWindow& window_;
  const ViewLayout& layout_;
  std::uint32_t zoom_ = 1;
  std::int64_t scroll_ = 0;
};

}  // namespace audioedit::view
