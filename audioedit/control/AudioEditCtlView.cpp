// The members of AudioEditCtl that belong to its view: colours, zoom and scrolling, window
// messages of painting and sizing, and the view's part of a load.
#include "audioedit/control/AudioEditCtl.h"
#include "audioedit/control/ControlView.h"

namespace audioedit {

void AudioEditCtl::CloseViewPeakFile() { view_->ClosePeakFile(); }
void AudioEditCtl::ResetViewAfterLoad() { view_->Reset(); }
void AudioEditCtl::RedrawDividers() { view_->RedrawDividers(); }
void AudioEditCtl::BringIntoView(std::uint32_t frame) { view_->BringIntoView(frame); }

win::LRESULT AudioEditCtl::ViewMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam,
                                       bool& handled) {
  if (msg == win::WM_SIZE) {
    extentCx_ = win::LowWord(static_cast<std::uintptr_t>(lParam));
    extentCy_ = win::HighWord(static_cast<std::uintptr_t>(lParam));
  }
  return view_->Message(msg, wParam, lParam, handled);
}

HRESULT AudioEditCtl::ZoomIn() { return view_->ZoomIn(); }
HRESULT AudioEditCtl::ZoomOut() { return view_->ZoomOut(); }
HRESULT AudioEditCtl::ZoomOutFull() { return view_->ZoomOutFull(); }
HRESULT AudioEditCtl::ScrollToMs(UINT ms) { return view_->ScrollToMs(ms); }

HRESULT AudioEditCtl::get_CurrentZoom(UINT* value) {
  if (!value) return com::E_POINTER;
  *value = view_->Zoom();
  return com::S_OK;
}

HRESULT AudioEditCtl::put_CurrentZoom(UINT value) { return view_->PutZoom(value); }

#define AE_COLOUR(Name, Slot)                                                 \
  HRESULT AudioEditCtl::get_##Name(OLE_COLOR* value) {                       \
    if (!value) return com::E_POINTER;                                        \
    *value = view_->Colour(ColourSlot::Slot);                                 \
    return com::S_OK;                                                         \
  }                                                                           \
  HRESULT AudioEditCtl::put_##Name(OLE_COLOR value) {                        \
    view_->PutColour(ColourSlot::Slot, value);                                \
    return com::S_OK;                                                         \
  }

AE_COLOUR(ColorWave, kWave)
AE_COLOUR(ColorWaveInactive, kWaveInactive)
AE_COLOUR(ColorWaveBg, kWaveBg)
AE_COLOUR(ColorScaleBg, kScaleBg)
AE_COLOUR(ColorScaleTicks, kScaleTicks)
AE_COLOUR(ColorZeroLevel, kZeroLevel)
AE_COLOUR(ColorChannelDivider, kChannelDivider)
AE_COLOUR(ColorChanDivInactive, kChanDivInactive)
AE_COLOUR(ColorStart, kStart)
AE_COLOUR(ColorEnd, kEnd)
AE_COLOUR(ColorIndex, kIndex)
AE_COLOUR(ColorSplit, kSplit)
AE_COLOUR(ColorCurrentMark, kCurrentMark)
#undef AE_COLOUR

}  // namespace audioedit
