#include "audioedit/view/WaveView.h"

#include <optional>

#include "audioedit/view/DividerPainter.h"
#include "audioedit/view/PeakColumnReader.h"
#include "audioedit/view/ScalePainter.h"
#include "audioedit/view/ViewScene.h"
#include "audioedit/view/WavePainter.h"
#include "platform/gdi/Brush.h"

namespace audioedit::view {
namespace {

gdi::RECT ToGdi(const win::Rect& r) { return gdi::RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

WaveView::WaveView(const ViewSource& source, ViewWindow& window)
    : source_(source), window_(window), navigator_(source, window, layout_) {}

WaveView::~WaveView() = default;

void WaveView::Paint(gdi::DeviceContext& dc, const gdi::RECT& bounds) {
  const std::optional<gdi::RECT> oldClip = dc.GetClipRect();
  dc.SelectClipRect(&bounds);
  if (!objectsCreated_) {
    colours_.CreateAll();
    objectsCreated_ = true;
    layout_ = ViewLayout::FromClient(bounds);
  }
  if (source_.HasAudio()) {
    FullWavePaint(dc, layout_.view);
  } else {
    dc.FillRect(bounds, gdi::GetStockBrush(gdi::GRAY_BRUSH));
    PaintScale(dc, layout_.scale, colours_, nullptr);
  }
  dc.SelectClipRect(oldClip ? &*oldClip : nullptr);
}

std::vector<ColumnPeaks> WaveView::ReadVisibleColumns(const AUDIO_INFO& info,
                                                      const ColumnMapping& mapping) {
  const std::size_t columns = static_cast<std::size_t>(layout_.Right()) + 1;
  PeakColumnReader reader(info, mapping.PeaksPerColumn(), columns);
  const std::uint64_t first =
      static_cast<std::uint64_t>(mapping.Scroll()) * mapping.PeaksPerColumn() * info.BPS;
  if (reader.CanRead() && file_.Seek(kPeakHeaderSize + first)) {
    readBuffer_.resize(kPeakReadChunk);
    for (;;) {
      const long n = file_.Read(readBuffer_.data(), readBuffer_.size());
      if (n <= 0 || !reader.Feed(readBuffer_.data(), static_cast<std::size_t>(n))) break;
    }
    reader.Finish();
  }
  return reader.Columns();
}

void WaveView::FullWavePaint(gdi::DeviceContext& target, const gdi::RECT& view) {
  if (layout_.Right() == 0) return;
  std::vector<ColumnPeaks> columns;
  const AUDIO_INFO info = source_.AudioInfo();
  const ColumnMapping mapping = navigator_.Mapping();
  {
    const std::lock_guard<std::mutex> lock(fileMutex_);
    if (!file_.IsOpen() && !file_.Open(source_.PeakFilePath())) return;
    columns = ReadVisibleColumns(info, mapping);
  }
  cache_ = std::make_unique<gdi::MemoryDC>(view.right, view.bottom);
  gdi::MemoryDC compose(view.right, view.bottom);
  gdi::DeviceContext& cache = cache_->Dc();
  cache.FillRect(view, colours_.BrushOf(ViewColour::WaveBg));

  const ViewScene scene{layout_, mapping, colours_, source_};
  PaintScale(cache, layout_.scale, colours_, &mapping);
  WavePainter(scene).Paint(cache, columns);

  compose.Dc().BitBlt(0, 0, view.right, view.bottom, cache, 0, 0);
  PaintDividersAndMark(compose.Dc(), scene);
  target.BitBlt(0, 0, view.right, view.bottom, compose.Dc(), 0, 0);
}

void WaveView::QuickRepaint() {
  if (!source_.HasAudio()) return;
  const gdi::RECT view = layout_.view;
  window_.DrawOnWindow([&](gdi::DeviceContext& dc) {
    gdi::MemoryDC compose(view.right, view.bottom);
    if (cache_) {
      compose.Dc().BitBlt(0, 0, view.right, view.bottom, cache_->Dc(), 0, 0);
      const ColumnMapping mapping = navigator_.Mapping();
      PaintDividersAndMark(compose.Dc(), ViewScene{layout_, mapping, colours_, source_});
    } else {
      compose.Dc().FillRect(view, colours_.SolidBrushOf(ViewColour::WaveBg));
    }
    dc.BitBlt(0, 0, view.right, view.bottom, compose.Dc(), 0, 0);
  });
}

void WaveView::DividerTimeText(int x, const DIVIDER& divider) {
  window_.DrawOnWindow([&](gdi::DeviceContext& dc) { PaintDividerTime(dc, layout_, x, divider); });
}

void WaveView::ShowFrame(std::uint32_t frame) {
  if (!source_.HasAudio()) return;
  if (!navigator_.BringFrameIntoView(frame)) QuickRepaint();
}

void WaveView::OnSize(int width, int height) {
  if (width == 0 || height == 0) return;
  layout_ = ViewLayout::FromClient(gdi::RECT{0, 0, width, height});
  navigator_.OnSize();
}

void WaveView::Reset() {
  cache_.reset();
  layout_ = ViewLayout::FromClient(ToGdi(window_.ClientRect()));
  navigator_.Reset();
}

void WaveView::ClosePeakFile() {
  const std::lock_guard<std::mutex> lock(fileMutex_);
  file_.Close();
}

}  // namespace audioedit::view
