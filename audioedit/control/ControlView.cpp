#include "audioedit/control/ControlView.h"

#include "audioedit/control/AudioEditCtl.h"
#include "platform/gdi/DeviceContext.h"

namespace audioedit {

ControlView::ControlView(AudioEditCtl& control) : control_(control), wave_(*this, *this) {}

ControlView::~ControlView() = default;

void ControlView::Attach(win::WindowPort& port) {
  port_ = &port;
  win::ScrollBar& bar = port.HorizontalScrollBar();
  bar.Move(win::Rect{0, 0, 200, 25});
  bar.SetInfo(win::ScrollInfo{}, win::SIF_RANGE | win::SIF_POS);
  bar.Show(false);
  FitSurface();
}

void ControlView::Detach() { port_ = nullptr; }

void ControlView::FitSurface() {
  const win::Rect client = ClientRect();
  if (surface_.Width() != client.Width() || surface_.Height() != client.Height()) {
    surface_ = gdi::Bitmap(client.Width(), client.Height());
  }
}

void ControlView::Paint() {
  FitSurface();
  gdi::DeviceContext dc(surface_);
  wave_.Paint(dc, gdi::RECT{0, 0, surface_.Width(), surface_.Height()});
}

win::LRESULT ControlView::Message(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam,
                                  bool& handled) {
  handled = true;
  switch (msg) {
    case win::WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case win::WM_PAINT:
      Paint();
      return 0;
    case win::WM_SIZE:
      FitSurface();
      wave_.OnSize(static_cast<int>(win::LowWord(static_cast<std::uintptr_t>(lParam))),
                   static_cast<int>(win::HighWord(static_cast<std::uintptr_t>(lParam))));
      return 0;
    case win::WM_HSCROLL:
      wave_.OnHScroll(win::LowWord(wParam));
      return 0;
    default:
      handled = false;
      return 0;
  }
}

// --- what the waveform view reads ---

bool ControlView::HasAudio() const { return control_.State().HasAudio(); }
AUDIO_INFO ControlView::AudioInfo() const { return control_.State().Info(); }
std::string ControlView::PeakFilePath() const { return control_.State().PeakFileName(); }

void ControlView::VisitDividers(const DividerVisitor& visit) const {
  DividerList& list = control_.Dividers();
  const std::optional<DividerList::Iterator> selected = list.Selected();
  for (auto it = list.begin(); it != list.end(); ++it) visit(*it, selected && *selected == it);
}

std::uint32_t ControlView::CurrentFrame() const { return control_.Dividers().CurrentFrameValue(); }
bool ControlView::CurrentMarkShown() const { return control_.Dividers().CurrentMarkVisible(); }

// --- the window the waveform view draws in ---

win::Rect ControlView::ClientRect() const { return port_ ? port_->ClientRect() : win::Rect{}; }

win::ScrollBar& ControlView::HorizontalScrollBar() {
  return port_ ? port_->HorizontalScrollBar() : detachedBar_;
}

void ControlView::InvalidateAll() {
  if (port_) port_->InvalidateRect(nullptr, true);
}

void ControlView::DrawOnWindow(const std::function<void(gdi::DeviceContext&)>& draw) {
  if (!port_ || surface_.Width() == 0) return;
  gdi::DeviceContext dc(surface_);
  draw(dc);
}

}  // namespace audioedit
