#include "platform/window/qt/QtWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimerEvent>
#include <algorithm>
#include <chrono>
#include <cstdint>

namespace win {

namespace {

// Upper bound of one idle wait; waits are woken by activity long before.
constexpr std::chrono::hours kLongWait{1};

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

struct QtWindow::SentCall {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  bool done = false;
};

QtWindow::QtWindow(QWidget* parent)
    : QWidget(parent),
      owner_(std::this_thread::get_id()),
      scrollBar_(*this, [this](unsigned request, int thumb) {
        Deliver(WM_HSCROLL, MakeWParam(request, static_cast<unsigned>(thumb)), 0);
        Present();
      }) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  width_ = width();
  height_ = height();
}

QtWindow::~QtWindow() {
  std::lock_guard lock(mutex_);
  destroyed_ = true;
  for (auto& call : sent_) call->done = true;
  sent_.clear();
  changed_.notify_all();
}

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
  auto call = std::make_shared<SentCall>(SentCall{msg, wParam, lParam});
  std::unique_lock lock(mutex_);
  if (destroyed_) return 0;
  sent_.push_back(call);
  ++generation_;
  changed_.notify_all();
  // Posted under the lock: the window cannot be destroyed meanwhile.
  QCoreApplication::postEvent(this, new QEvent(kSentEvent), Qt::HighEventPriority);
  changed_.wait(lock, [&] { return call->done; });
  return call->result;
}

bool QtWindow::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  std::lock_guard lock(mutex_);
  if (destroyed_) return false;
  QCoreApplication::postEvent(this, new PostedEvent(msg, wParam, lParam));
  ++generation_;
  changed_.notify_all();
  return true;
}

void QtWindow::RequestUpdateLocked() {
  if (updateRequested_ || destroyed_) return;
  updateRequested_ = true;
  QCoreApplication::postEvent(this, new QEvent(kUpdateEvent));
}

void QtWindow::InvalidateRect(const Rect* rect, bool erase) {
  const bool here = IsWindowThread();
  {
    std::lock_guard lock(mutex_);
    const Rect area = rect ? *rect : Rect{0, 0, width_, height_};
    update_ = paintPending_ ? UnionRect(update_, area) : area;
    paintPending_ = true;
    erasePending_ = erasePending_ || erase;
    ++generation_;
    changed_.notify_all();
    if (!here) RequestUpdateLocked();
  }
  if (here) update();
}

void QtWindow::Wake() {
  std::lock_guard lock(mutex_);
  ++generation_;
  changed_.notify_all();
}

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

bool QtWindow::HandleSent() {
  std::shared_ptr<SentCall> call;
  {
    std::lock_guard lock(mutex_);
    if (sent_.empty()) return false;
    call = sent_.front();
    sent_.pop_front();
  }
  const LRESULT result = Deliver(call->msg, call->wParam, call->lParam);
  std::lock_guard lock(mutex_);
  call->result = result;
  call->done = true;
  changed_.notify_all();
  return true;
}

std::uint64_t QtWindow::Generation() const {
  std::lock_guard lock(mutex_);
  return generation_;
}

void QtWindow::WaitHandlingSent(const std::function<bool()>& done) {
  for (;;) {
    const std::uint64_t generation = Generation();
    if (done()) return;
    if (HandleSent()) continue;
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, kLongWait, [&] { return generation_ != generation; });
  }
}

bool QtWindow::event(QEvent* event) {
  if (event->type() == kSentEvent) {
    bool handled = false;
    while (HandleSent()) handled = true;
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
  bool paint = false;
  bool erase = false;
  {
    std::lock_guard lock(mutex_);
    paint = paintPending_;
    erase = erasePending_;
    paintPending_ = false;
    erasePending_ = false;
  }
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
