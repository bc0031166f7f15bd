#include "platform/window/qt/QtWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimerEvent>
#include <algorithm>
#include <cstdint>

namespace win {

namespace {

// Events the window posts to itself.
constexpr auto kSentEvent = static_cast<QEvent::Type>(QEvent::User + 0x51);
constexpr auto kPostedEvent = static_cast<QEvent::Type>(QEvent::User + 0x52);
constexpr auto kUpdateEvent = static_cast<QEvent::Type>(QEvent::User + 0x53);

class PostedEvent final : public QEvent {
 public:
  PostedEvent(UINT msg, WPARAM wParam, LPARAM lParam)
      : QEvent(kPostedEvent), msg_(msg), wParam_(wParam), lParam_(lParam) {}
  UINT msg_;
  WPARAM wParam_;
  LPARAM lParam_;
};

}  // namespace

QtWindow::QtWindow(QWidget* parent)
    : QWidget(parent),
      owner_(std::this_thread::get_id()),
      scrollBar_(*this,
                 [this](unsigned request, int thumb) {
                   Deliver(WM_HSCROLL, MakeWParam(request, static_cast<unsigned>(thumb)), 0);
                   Present();
                 }),
      sent_(mutex_, changed_, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return Deliver(msg, wParam, lParam);
      }) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  width_ = width();
  height_ = height();
}

QtWindow::~QtWindow() { sent_.Abandon(); }

void QtWindow::SetProcedure(WindowProcedure* procedure) { procedure_ = procedure; }

void QtWindow::SetSurface(const gdi::Bitmap* surface) {
  surface_ = surface;
  update();
}

LRESULT QtWindow::Deliver(UINT msg, WPARAM wParam, LPARAM lParam) {
  return procedure_ ? procedure_->WindowProc(msg, wParam, lParam) : 0;
}

LRESULT QtWindow::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsWindowThread()) return Deliver(msg, wParam, lParam);
  // Posted under the lock: the window cannot be destroyed meanwhile.
  return sent_.Send(msg, wParam, lParam, [this] {
    QCoreApplication::postEvent(this, new QEvent(kSentEvent), Qt::HighEventPriority);
  });
}

bool QtWindow::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  std::lock_guard lock(mutex_);
  if (sent_.AbandonedLocked()) return false;
  QCoreApplication::postEvent(this, new PostedEvent(msg, wParam, lParam));
  sent_.WakeLocked();
  return true;
}

void QtWindow::RequestUpdateLocked() {
  if (updateRequested_ || sent_.AbandonedLocked()) return;
  updateRequested_ = true;
  QCoreApplication::postEvent(this, new QEvent(kUpdateEvent));
}

void QtWindow::InvalidateRect(const Rect* rect, bool erase) {
  const bool here = IsWindowThread();
  {
    std::lock_guard lock(mutex_);
    const Rect area = rect ? *rect : Rect{0, 0, width_, height_};
    paint_.Add(area, erase);
    sent_.WakeLocked();
    if (!here) RequestUpdateLocked();
  }
  if (here) update();
}

void QtWindow::Wake() { sent_.Wake(); }

TimerId QtWindow::SetTimer(TimerId id, UINT periodMs) {
  if (const auto it = timers_.find(id); it != timers_.end()) {
    killTimer(it->second);
    timers_.erase(it);
  }
  const int qtId = startTimer(static_cast<int>(std::min<UINT>(periodMs, INT32_MAX)));
  if (qtId == 0) return 0;
  timers_[id] = qtId;
  return id;
}

bool QtWindow::KillTimer(TimerId id) {
  const auto it = timers_.find(id);
  if (it == timers_.end()) return false;
  killTimer(it->second);
  timers_.erase(it);
  return true;
}

Rect QtWindow::ClientRect() const {
  std::lock_guard lock(mutex_);
  return Rect{0, 0, width_, height_};
}

void QtWindow::WaitHandlingSent(const std::function<bool()>& done) { sent_.WaitHandling(done); }

bool QtWindow::event(QEvent* event) {
  if (event->type() == kSentEvent) {
    bool handled = false;
    while (sent_.HandleOne()) handled = true;
    if (handled) Present();
    return true;
  }
  if (event->type() == kPostedEvent) {
    const auto* posted = static_cast<const PostedEvent*>(event);
    Deliver(posted->msg_, posted->wParam_, posted->lParam_);
    Present();
    return true;
  }
  if (event->type() == kUpdateEvent) {
    {
      std::lock_guard lock(mutex_);
      updateRequested_ = false;
    }
    update();
    return true;
  }
  return QWidget::event(event);
}

void QtWindow::paintEvent(QPaintEvent*) {
  PendingPaint taken;
  {
    std::lock_guard lock(mutex_);
    taken = paint_.Take();
  }
  const bool paint = taken.pending;
  const bool erase = taken.erase;
  if (paint) {
    if (erase) Deliver(WM_ERASEBKGND, 0, 0);
    ++paintCount_;
    Deliver(WM_PAINT, 0, 0);
  }
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (!surface_ || surface_->Width() == 0 || surface_->Height() == 0) return;
  // The canvas holds 0x00RRGGBB words, which is the layout of a 32-bit RGB image.
  const QImage image(reinterpret_cast<const uchar*>(surface_->Pixels().data()), surface_->Width(),
                     surface_->Height(), surface_->Width() * 4, QImage::Format_RGB32);
  painter.drawImage(0, 0, image);
}

void QtWindow::resizeEvent(QResizeEvent* event) {
  {
    std::lock_guard lock(mutex_);
    width_ = event->size().width();
    height_ = event->size().height();
  }
  Deliver(WM_SIZE, 0,
          MakeLParam(static_cast<unsigned>(event->size().width()),
                     static_cast<unsigned>(event->size().height())));
  InvalidateRect(nullptr, true);
}

void QtWindow::timerEvent(QTimerEvent* event) {
  for (const auto& [id, qtId] : timers_) {
    if (qtId != event->timerId()) continue;
    Deliver(WM_TIMER, id, 0);
    Present();
    return;
  }
  QWidget::timerEvent(event);
}

}  // namespace win
