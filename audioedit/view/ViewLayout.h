// The rectangles of the view, derived from the client rectangle (l, t, r, b):
//
//   View         l,     t,              r,     b - 20   the cached wave bitmap's extent
//   Scale strip  l,     t,              r,     t + 20   the time scale (base line on t + 20)
//   Wave band    l + 1, t + 23,         r - 1, b - 20   the mono wave
//   Upper band   l + 1, t + 23,         r - 1, t + 23 + h - 3   first channel of stereo
//   Lower band   l + 1, b - 20 - h + 3, r - 1, b - 20   second channel of stereo
//   Scroll bar   l,     b - 20,         r,     b
//
// with h = ((b - 20) - (t + 23)) / 2. A band's height H is (b - 20) - (t + 23) for mono and
// h - 1 for two channels; its zero level is its top + H / 2.
#pragma once

#include "platform/gdi/Types.h"

namespace audioedit::view {

struct ViewLayout {
  static constexpr int kScaleHeight = 20;
  static constexpr int kWaveTopOffset = 23;
  static constexpr int kScrollBarHeight = 20;

  gdi::RECT client;
  gdi::RECT view;
  gdi::RECT scale;
  gdi::RECT wave;
  gdi::RECT upper;
  gdi::RECT lower;
  gdi::RECT scrollBar;

  static ViewLayout FromClient(const gdi::RECT& client);

  // The right coordinate of the client rectangle: view columns are 0 .. Right().
  int Right() const { return client.right; }
  // Files with one channel show one band, all others two.
  static bool IsStereo(int channels) { return channels != 1; }
  int BandHeight(int channels) const;
  // Top of the band of `channel` (0 or 1).
  int BandTop(int channel, int channels) const;
  int ZeroLevel(int channel, int channels) const {
    return BandTop(channel, channels) + BandHeight(channels) / 2;
  }
};

}  // namespace audioedit::view
