#include "audioedit/view/ViewLayout.h"

namespace audioedit::view {

ViewLayout ViewLayout::FromClient(const gdi::RECT& c) {
  const int waveTop = c.top + kWaveTopOffset;
  const int waveBottom = c.bottom - kScrollBarHeight;
  const int h = (waveBottom - waveTop) / 2;
  ViewLayout l;
  l.client = c;
  l.view = gdi::RECT{c.left, c.top, c.right, waveBottom};
  l.scale = gdi::RECT{c.left, c.top, c.right, c.top + kScaleHeight};
  l.wave = gdi::RECT{c.left + 1, waveTop, c.right - 1, waveBottom};
  l.upper = gdi::RECT{c.left + 1, waveTop, c.right - 1, waveTop + h - 3};
  l.lower = gdi::RECT{c.left + 1, waveBottom - h + 3, c.right - 1, waveBottom};
  l.scrollBar = gdi::RECT{c.left, waveBottom, c.right, c.bottom};
  return l;
}

int ViewLayout::BandHeight(int channels) const {
  const int full = wave.bottom - wave.top;
  return IsStereo(channels) ? full / 2 - 1 : full;
}

int ViewLayout::BandTop(int channel, int channels) const {
  if (!IsStereo(channels)) return wave.top;
  return channel == 0 ? upper.top : lower.top;
}

}  // namespace audioedit::view
