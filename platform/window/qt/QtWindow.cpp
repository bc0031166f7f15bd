#include "platform/window/qt/QtWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
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

WPARAM KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  WPARAM keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

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
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
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

void QtWindow::UserScroll(unsigned request, int thumb) {
  if (request == SB_THUMBTRACK || request == SB_THUMBPOSITION) scrollBar_.SetTrackPosition(thumb);
  Deliver(WM_HSCROLL, MakeWParam(request, static_cast<unsigned>(thumb)), 0);
  Present();
}

void QtWindow::SetCursor(CursorShape shape) {
  setCursor(shape == CursorShape::kSizeWE ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

Point QtWindow::ClientToScreen(Point client) const {
  const QPoint p = mapToGlobal(QPoint(client.x, client.y));
  return Point{p.x(), p.y()};
}

Point QtWindow::ScreenToClient(Point screen) const {
  const QPoint p = mapFromGlobal(QPoint(screen.x, screen.y));
  return Point{p.x(), p.y()};
}

void QtWindow::TrackPopupMenu(const PopupMenu& popup, Point screen) {
  QMenu menu(this);
  if (!popup.Title().empty()) menu.setObjectName(QString::fromStdString(popup.Title()));
  for (const MenuItem& item : popup.Items()) {
    if (item.separator) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(QString::fromStdString(item.text));
    action->setData(item.id);
    action->setEnabled(item.enabled);
  }
  const QAction* chosen = menu.exec(QPoint(screen.x, screen.y));
  if (chosen) PostMessage(WM_COMMAND, MakeWParam(chosen->data().toUInt(), 0), 0);
}

Point QtWindow::Track(const QPointF& local) {
  const QPoint client = local.toPoint();
  const QPoint screen = mapToGlobal(client);
  cursor_ = Point{screen.x(), screen.y()};
  return Point{client.x(), client.y()};
}

void QtWindow::mousePressEvent(QMouseEvent* event) {
  const Point p = Track(event->position());
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  setFocus(Qt::MouseFocusReason);
  Deliver(WM_LBUTTONDOWN, KeyState(event->buttons(), event->modifiers()), LParamFromPoint(p));
  Present();
}

void QtWindow::mouseMoveEvent(QMouseEvent* event) {
  const Point p = Track(event->position());
  if (!capture_ && Deliver(WM_SETCURSOR, 0, MakeLParam(HTCLIENT, WM_MOUSEMOVE)) == 0)
    SetCursor(CursorShape::kArrow);
  Deliver(WM_MOUSEMOVE, KeyState(event->buttons(), event->modifiers()), LParamFromPoint(p));
  Present();
}

void QtWindow::mouseReleaseEvent(QMouseEvent* event) {
  const Point p = Track(event->position());
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  Deliver(WM_LBUTTONUP, KeyState(event->buttons(), event->modifiers()), LParamFromPoint(p));
  Present();
}

void QtWindow::contextMenuEvent(QContextMenuEvent* event) {
  const LPARAM where = event->reason() == QContextMenuEvent::Keyboard
                           ? kKeyboardContextMenu
                           : LParamFromPoint(Point{event->globalPos().x(), event->globalPos().y()});
  Deliver(WM_CONTEXTMENU, 0, where);
  Present();
  event->accept();
}

}  // namespace win
