// Draws the wave of the visible columns with its channel divider line and zero levels.
//
// Each column appears as a vertical stroke from its minimum to its maximum, joined to the
// next column's minimum, in the wave colour inside the active range and the inactive colour
// outside. A value v lands on row top + (255 - v) × H / 255 (8 bits) or
// top + (32767 - v) × H / 65535 (16 bits) of its band.
#pragma once

#include <cstdint>
#include <vector>

#include "audioedit/view/PeakColumnReader.h"
#include "audioedit/view/ViewScene.h"
#include "platform/gdi/DeviceContext.h"

namespace audioedit::view {

// Row of a sample value in a band of height `height` starting at `top`.
int ValueRow(std::int32_t value, int bits, int top, int height);

class WavePainter {
 public:
  explicit WavePainter(const ViewScene& scene);

  // Channel divider line (two channels only), wave, then zero levels.
  void Paint(gdi::DeviceContext& dc, const std::vector<ColumnPeaks>& columns) const;

 private:
  void PaintChannelDivider(gdi::DeviceContext& dc) const;
  void PaintChannel(gdi::DeviceContext& dc, const std::vector<ColumnPeaks>& columns,
                    int channel) const;
  void PaintZeroLevels(gdi::DeviceContext& dc) const;

  const ViewScene& scene_;
  const AUDIO_INFO info_;
  const int channels_;
  const ActiveRange active_;
};

}  // namespace audioedit::view
