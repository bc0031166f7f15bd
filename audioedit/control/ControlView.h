// The control's view: what it shows in its window. It owns the waveform view (layout,
// colours, painting, zoom and scrolling) and the window's pixels, and gives the waveform
// view the control's loaded state and the window's scroll bar.
//
// The window's pixels: a bitmap of the client size that WM_PAINT paints and that quick
// repaints and the divider time text draw on; a host shows it (Surface()).
//
// Threads: window thread, except ClosePeakFile, which a loading worker calls.
#pragma once

#include <cstdint>

#include "audioedit/view/ViewColours.h"
#include "audioedit/view/ViewSource.h"
#include "audioedit/view/ViewWindow.h"
#include "audioedit/view/WaveView.h"
#include "platform/com/Types.h"
#include "platform/gdi/Bitmap.h"
#include "platform/window/ScrollBar.h"
#include "platform/window/WindowPort.h"

namespace audioedit {

class AudioEditCtl;

// The colour properties, in the order of their pens and brushes.
enum class ColourSlot : std::size_t {
  kWave,
  kWaveInactive,
  kWaveBg,
  kScaleBg,
  kScaleTicks,
  kZeroLevel,
  kChannelDivider,
  kChanDivInactive,
  kStart,
  kEnd,
  kIndex,
  kSplit,
  kCurrentMark,
};

class ControlView final : private view::ViewSource, private view::ViewWindow {
 public:
  explicit ControlView(AudioEditCtl& control);
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;
  ~ControlView();

  // The window appears: the scroll bar child is made hidden.
  void Attach(win::WindowPort& port);
  void Detach();

  com::OLE_COLOR Colour(ColourSlot slot) const { return wave_.GetColour(ToViewColour(slot)); }
  void PutColour(ColourSlot slot, com::OLE_COLOR value) { wave_.PutColour(ToViewColour(slot), value); }

  com::HRESULT ZoomIn() { return wave_.ZoomIn(); }
  com::HRESULT ZoomOut() { return wave_.ZoomOut(); }
  com::HRESULT ZoomOutFull() { return wave_.ZoomOutFull(); }
  com::HRESULT ScrollToMs(std::uint32_t ms) { return wave_.ScrollToMs(ms); }
  std::uint32_t Zoom() const { return wave_.CurrentZoom(); }
  com::HRESULT PutZoom(std::uint32_t zoom) { return wave_.PutCurrentZoom(zoom); }

  // Start of a load (any thread): let go of the peak file.
  void ClosePeakFile() { wave_.ClosePeakFile(); }
  // End of a successful load: zoom 1, scroll position 0, scroll bar set up.
  void Reset() { wave_.Reset(); }
  // Dividers, selection or mark changed: redraw them over the cached wave.
  void RedrawDividers() { wave_.QuickRepaint(); }
  // The selected divider comes into sight (scrolls, centred, when off screen).
  void BringIntoView(std::uint32_t frame) { wave_.ShowFrame(frame); }
  // WM_PAINT, WM_ERASEBKGND, WM_SIZE, WM_HSCROLL.
  win::LRESULT Message(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam, bool& handled);

  // What the window shows.
  const gdi::Bitmap& Surface() const { return surface_; }
  // The waveform view, for the mouse and menu commands (frame of a column and back).
  view::WaveView& Wave() { return wave_; }

 private:
  static view::ViewColour ToViewColour(ColourSlot slot) {
    return static_cast<view::ViewColour>(static_cast<std::size_t>(slot));
  }
  void Paint();
  void FitSurface();

  // ViewSource
  bool HasAudio() const override;
  AUDIO_INFO AudioInfo() const override;
  std::string PeakFilePath() const override;
  void VisitDividers(const DividerVisitor& visit) const override;
  std::uint32_t CurrentFrame() const override;
  bool CurrentMarkShown() const override;
  // ViewWindow
  win::Rect ClientRect() const override;
  win::ScrollBar& HorizontalScrollBar() override;
  void InvalidateAll() override;
  void DrawOnWindow(const std::function<void(gdi::DeviceContext&)>& draw) override;

  AudioEditCtl& control_;
  win::WindowPort* port_ = nullptr;
  win::ScrollBarModel detachedBar_;  // stands in while there is no window
  gdi::Bitmap surface_;
  view::WaveView wave_;
};

static_assert(static_cast<std::size_t>(ColourSlot::kCurrentMark) + 1 == view::kViewColourCount);
static_assert(static_cast<std::size_t>(ColourSlot::kSplit) ==
              static_cast<std::size_t>(view::ViewColour::Split));

}  // namespace audioedit
