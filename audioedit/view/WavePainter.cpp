#include "audioedit/view/WavePainter.h"

namespace audioedit::view {

int ValueRow(std::int32_t value, int bits, int top, int height) {
  if (bits == 8) return top + static_cast<int>((255 - std::int64_t{value}) * height / 255);
  return top + static_cast<int>((32767 - std::int64_t{value}) * height / 65535);
}

WavePainter::WavePainter(const ViewScene& scene)
    : scene_(scene),
      info_(scene.source.AudioInfo()),
      channels_(info_.channels),
      active_(scene.Active()) {}

void WavePainter::Paint(gdi::DeviceContext& dc, const std::vector<ColumnPeaks>& columns) const {
  const gdi::Pen oldPen = dc.GetPen();
  const bool stereo = ViewLayout::IsStereo(channels_);
  if (stereo) PaintChannelDivider(dc);
  PaintChannel(dc, columns, 0);
  if (stereo) PaintChannel(dc, columns, 1);
  PaintZeroLevels(dc);
  dc.SelectPen(oldPen);
}

void WavePainter::PaintChannelDivider(gdi::DeviceContext& dc) const {
  const gdi::RECT& band = scene_.layout.upper;
  const int row = band.bottom + 1;
  const int start = ClampColumn(active_.first);
  const int end = ClampColumn(active_.last);
  const gdi::Pen& inactive = scene_.colours.PenOf(ViewColour::ChanDivInactive);
  if (start - 1 >= band.left) {
    dc.SelectPen(inactive);
    dc.MoveTo(band.left, row);
    dc.LineTo(start - 1, row);
  }
  dc.SelectPen(scene_.colours.PenOf(ViewColour::ChannelDivider));
  dc.MoveTo(start, row);
  dc.LineTo(end, row);
  if (band.right >= end + 1) {
    dc.SelectPen(inactive);
    dc.MoveTo(end + 1, row);
    dc.LineTo(band.right, row);
  }
}

void WavePainter::PaintChannel(gdi::DeviceContext& dc, const std::vector<ColumnPeaks>& columns,
                               int channel) const {
  const int top = scene_.layout.BandTop(channel, channels_);
  const int height = scene_.layout.BandHeight(channels_);
  const gdi::Pen& activePen = scene_.colours.PenOf(ViewColour::Wave);
  const gdi::Pen& inactivePen = scene_.colours.PenOf(ViewColour::WaveInactive);

  dc.MoveTo(scene_.layout.wave.left, scene_.layout.ZeroLevel(channel, channels_));
  bool inside = true;
  dc.SelectPen(activePen);
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const int x = static_cast<int>(k);
    const bool nowInside = active_.Contains(x);
    if (nowInside != inside) {
      dc.SelectPen(nowInside ? activePen : inactivePen);
      inside = nowInside;
    }
    dc.LineTo(x, ValueRow(columns[k].min[channel], info_.bits, top, height));
    dc.LineTo(x, ValueRow(columns[k].max[channel], info_.bits, top, height));
  }
}

void WavePainter::PaintZeroLevels(gdi::DeviceContext& dc) const {
  dc.SelectPen(scene_.colours.PenOf(ViewColour::ZeroLevel));
  const int bands = ViewLayout::IsStereo(channels_) ? 2 : 1;
  for (int channel = 0; channel < bands; ++channel) {
    const int row = scene_.layout.ZeroLevel(channel, channels_);
    dc.MoveTo(scene_.layout.wave.left, row);
    dc.LineTo(scene_.layout.wave.right, row);
  }
}

}  // namespace audioedit::view
