// The control's view: what it shows in its window (colours, zoom, scrolling, painting). The
// waveform view proper plugs in here; until then this keeps the colour properties and the
// zoom factor and answers the zoom members as an unpainted view would.
//
// Threads: window thread, except ClosePeakFile, which a loading worker calls.
#pragma once

#include <array>
#include <cstdint>

#include "platform/com/Types.h"
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

class ControlView {
 public:
  explicit ControlView(AudioEditCtl& control);
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  // The window appears: the scroll bar child is made hidden.
  void Attach(win::WindowPort& port);
  void Detach();

  com::OLE_COLOR Colour(ColourSlot slot) const { return colours_[static_cast<std::size_t>(slot)]; }
  void PutColour(ColourSlot slot, com::OLE_COLOR value) {
    colours_[static_cast<std::size_t>(slot)] = value;
  }

  com::HRESULT ZoomIn();
  com::HRESULT ZoomOut();
  com::HRESULT ZoomOutFull();
  com::HRESULT ScrollToMs(std::uint32_t ms);
  std::uint32_t Zoom() const { return zoom_; }
  com::HRESULT PutZoom(std::uint32_t zoom);

  // Start of a load (any thread): let go of the peak file.
  void ClosePeakFile() {}
  // End of a successful load: zoom 1, scroll position 0.
  void Reset();
  // WM_PAINT, WM_ERASEBKGND, WM_SIZE, WM_HSCROLL.
  win::LRESULT Message(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam, bool& handled);

 private:
  com::HRESULT IfLoaded() const;

  AudioEditCtl& control_;
  win::WindowPort* port_ = nullptr;
  std::array<com::OLE_COLOR, 13> colours_;
  std::uint32_t zoom_ = 1;
};

}  // namespace audioedit
