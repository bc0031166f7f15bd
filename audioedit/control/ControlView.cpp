#include "audioedit/control/ControlView.h"

#include "audioedit/control/AudioEditCtl.h"

namespace audioedit {

ControlView::ControlView(AudioEditCtl& control)
    : control_(control),
      colours_{0x0000FFFF, 0x0000A0A0, 0x00000000, 0x00E0E0E0, 0x00C80000, 0x00808080, 0x00E0E0E0,
               0x00808080, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFF00, 0x000000FF, 0x0000FF00} {}

void ControlView::Attach(win::WindowPort& port) {
  port_ = &port;
  win::ScrollBar& bar = port.HorizontalScrollBar();
  bar.Move(win::Rect{0, 0, 200, 25});
  bar.SetInfo(win::ScrollInfo{}, win::SIF_RANGE | win::SIF_POS);
  bar.Show(false);
}

void ControlView::Detach() { port_ = nullptr; }

com::HRESULT ControlView::IfLoaded() const {
  return control_.State().AudioFileName().empty() ? com::S_FALSE : com::S_OK;
}

com::HRESULT ControlView::ZoomIn() { return IfLoaded(); }
com::HRESULT ControlView::ZoomOut() { return IfLoaded(); }
com::HRESULT ControlView::ZoomOutFull() { return IfLoaded(); }
com::HRESULT ControlView::ScrollToMs(std::uint32_t) { return IfLoaded(); }

com::HRESULT ControlView::PutZoom(std::uint32_t zoom) {
  zoom_ = zoom;
  return com::S_OK;
}

void ControlView::Reset() { zoom_ = 1; }

win::LRESULT ControlView::Message(win::UINT msg, win::WPARAM, win::LPARAM, bool& handled) {
  handled = msg == win::WM_ERASEBKGND || msg == win::WM_PAINT;
  return handled ? 1 : 0;
}

}  // namespace audioedit
