#include "platform/window/qt/QtScrollBar.h"

#include <QAbstractSlider>
#include <QEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWidget>
#include <algorithm>
#include <climits>

namespace win {

// Sees the mouse button come up on the bar before the bar does, so the end of a thumb drag
// (or of holding an arrow or the trough) is reported.
class QtScrollBar::ReleaseFilter final : public QObject {
 public:
  ReleaseFilter(QObject* parent, QtScrollBar& owner) : QObject(parent), owner_(owner) {}

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      owner_.OnRelease();
    }
    return false;
  }

 private:
  QtScrollBar& owner_;
};

QtScrollBar::QtScrollBar(QWidget& parent, RequestSink sink)
    : bar_(new QScrollBar(Qt::Horizontal, &parent)), sink_(std::move(sink)) {
  filter_ = new ReleaseFilter(bar_, *this);
  bar_->installEventFilter(filter_);
  bar_->setSingleStep(1);
  bar_->setFocusPolicy(Qt::NoFocus);
  QObject::connect(bar_, &QAbstractSlider::actionTriggered, bar_,
                   [this](int action) { OnAction(action); });
  Changed();
}

QtScrollBar::~QtScrollBar() {
  // The bar may outlive this object for a moment (its parent deletes it): no more requests.
  QObject::disconnect(bar_, nullptr, nullptr, nullptr);
  bar_->removeEventFilter(filter_);
}

void QtScrollBar::Changed() {
  const ScrollInfo info = GetInfo();
  const Rect place = Placement();
  mirroring_ = true;
  {
    const QSignalBlocker block(bar_);
    bar_->setRange(info.min, HighestPosition());
    bar_->setPageStep(static_cast<int>(std::min<unsigned>(std::max(info.page, 1u), INT_MAX)));
    if (!bar_->isSliderDown()) bar_->setValue(info.pos);
    bar_->setEnabled(IsEnabled());
    bar_->setGeometry(place.left, place.top, place.Width(), place.Height());
    bar_->setVisible(IsVisible());
  }
  mirroring_ = false;
}

void QtScrollBar::OnAction(int action) {
  if (mirroring_) return;
  Deliver(action);
  // The bar applies its own step after this; it must land where the window put the position.
  if (!bar_->isSliderDown()) bar_->setSliderPosition(GetInfo().pos);
}

void QtScrollBar::Deliver(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return Request(SB_LINELEFT, 0);
    case QAbstractSlider::SliderSingleStepAdd:
      return Request(SB_LINERIGHT, 0);
    case QAbstractSlider::SliderPageStepSub:
      return Request(SB_PAGELEFT, 0);
    case QAbstractSlider::SliderPageStepAdd:
      return Request(SB_PAGERIGHT, 0);
    case QAbstractSlider::SliderToMinimum:
      return Request(SB_LEFT, 0);
    case QAbstractSlider::SliderToMaximum:
      return Request(SB_RIGHT, 0);
    case QAbstractSlider::SliderMove: {
      const int thumb = bar_->sliderPosition();
      SetTrackPosition(thumb);
      return Request(SB_THUMBTRACK, thumb);
    }
    default:
      return;
  }
}

void QtScrollBar::OnRelease() {
  if (!bar_->isEnabled()) return;
  if (bar_->isSliderDown()) {
    const int thumb = bar_->sliderPosition();
    SetTrackPosition(thumb);
    Request(SB_THUMBPOSITION, thumb);
  }
  Request(SB_ENDSCROLL, 0);
}

void QtScrollBar::Request(unsigned request, int thumb) {
  if (sink_) sink_(request, thumb);
}

}  // namespace win
