// The waveform view of the audio edit control: layout, colours, painting from the peak file,
// the cached wave bitmap for quick repaints, zoom and scrolling.
//
// The control owns one WaveView and forwards to it: its draw handler (Paint), the quick
// repaints after divider and mark changes, its colour properties, the zoom and scroll
// members, WM_HSCROLL, WM_SIZE, the view reset at the end of a load and the release of the
// peak file when a new load begins. The view reads the control's state through ViewSource
// and reaches the window through ViewWindow.
//
// Threads: everything runs on the window thread except ClosePeakFile, which a loading
// worker may call; it waits for a paint that is reading the file.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "audioedit/view/ColumnMapping.h"
#include "audioedit/view/PeakColumnReader.h"
#include "audioedit/view/PeakFileHandle.h"
#include "audioedit/view/ViewColours.h"
#include "audioedit/view/ViewLayout.h"
#include "audioedit/view/ViewNavigator.h"
#include "audioedit/view/ViewSource.h"
#include "audioedit/view/ViewWindow.h"
#include "platform/com/Types.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/MemoryDC.h"

namespace audioedit::view {

inline constexpr std::size_t kPeakReadChunk = 512000;
inline constexpr std::uint64_t kPeakHeaderSize = 28;

class WaveView {
 public:
  WaveView(const ViewSource& source, ViewWindow& window);
  WaveView(const WaveView&) = delete;
  WaveView& operator=(const WaveView&) = delete;
  ~WaveView();

  // Draw handler: the whole control into `dc`, whose client rectangle is `bounds`.
  void Paint(gdi::DeviceContext& dc, const gdi::RECT& bounds);
  // Cached wave plus dividers and mark, straight onto the window. Before the first full
  // paint of a loaded file there is no cached wave: the view shows its background then.
  void QuickRepaint();
  // Writes a divider's time next to client column x on the window (gone at the next repaint).
  void DividerTimeText(int x, const DIVIDER& divider);

  gdi::COLORREF GetColour(ViewColour which) const { return colours_.Get(which); }
  // Stores the colour and replaces its pen or brush; shows at the next paint that uses it.
  void PutColour(ViewColour which, gdi::COLORREF value) { colours_.Put(which, value); }

  com::HRESULT ZoomIn() { return navigator_.ZoomIn(); }
  com::HRESULT ZoomOut() { return navigator_.ZoomOut(); }
  com::HRESULT ZoomOutFull() { return navigator_.ZoomOutFull(); }
  std::uint32_t CurrentZoom() const { return navigator_.Zoom(); }
  com::HRESULT PutCurrentZoom(std::uint32_t zoom) { return navigator_.PutZoom(zoom); }
  com::HRESULT ScrollToMs(std::uint32_t ms) { return navigator_.ScrollToMs(ms); }
  void ScrollToColumn(std::uint64_t column, bool centre) {
    navigator_.ScrollToColumn(column, centre);
  }
  // The selected divider comes into sight: scrolls (centred) when `frame` is off screen,
  // else redraws dividers and mark over the cached wave.
  void ShowFrame(std::uint32_t frame);
  void OnHScroll(unsigned request) { navigator_.OnHScroll(request); }
  void OnSize(int width, int height);
  // End of a successful load: zoom 1, scroll position 0, layout and scroll bar set up.
  void Reset();
  // Start of a load: releases the peak file (any thread).
  void ClosePeakFile();

  std::int64_t ScrollPosition() const { return navigator_.Scroll(); }
  ColumnMapping Mapping() const { return navigator_.Mapping(); }
  const ViewLayout& Layout() const { return layout_; }

 private:
  void FullWavePaint(gdi::DeviceContext& target, const gdi::RECT& view);
  std::vector<ColumnPeaks> ReadVisibleColumns(const AUDIO_INFO& info, const ColumnMapping& mapping);

  const ViewSource& source_;
  ViewWindow& window_;
  ViewLayout layout_;
  ViewColours colours_;
  ViewNavigator navigator_;
  bool objectsCreated_ = false;
  std::unique_ptr<gdi::MemoryDC> cache_;
  std::vector<std::uint8_t> readBuffer_;
  std::mutex fileMutex_;  // guards file_
  PeakFileHandle file_;
};

}  // namespace audioedit::view
