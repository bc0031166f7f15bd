// A window on a Qt widget, for desktop hosts. The thread that constructs it (the thread of
// the application object) is its window thread, and Qt's event loop is its message loop:
// messages sent from other threads arrive as high-priority events, posted messages as
// ordinary events in the order they were posted, timers are the widget's timers, and the
// widget's paint event paints the procedure's pixels.
//
// Painting: the procedure draws into a canvas (SetSurface) that the widget shows. When an
// invalidation is pending, the paint event first delivers WM_ERASEBKGND (when asked for)
// and WM_PAINT, then shows the canvas; otherwise it only shows it again. Drawing that the
// procedure does outside WM_PAINT shows up after the message that caused it, or when the
// host calls Present() after calling the procedure's owner directly.
//
// Mouse: the left button, moves (tracked also without a button) and the context menu (right
// button or the menu key) arrive as the window messages; each move first asks WM_SETCURSOR
// while nothing holds the capture. The capture is the widget's own: Qt sends a widget every
// move and the release of a press that began on it, wherever the mouse goes, so SetCapture
// only records it. Popup menus are QMenus run at the screen point.
//
// The scroll bar child is a real QScrollBar over the client area, placed where its owner
// moves it; the user's actions on it arrive as WM_HSCROLL.
#pragma once

#include <QWidget>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "platform/gdi/Bitmap.h"
#include "platform/window/PendingPaint.h"
#include "platform/window/SentMessageQueue.h"
#include "platform/window/WindowPort.h"
#include "platform/window/qt/QtScrollBar.h"

namespace win {

class QtWindow final : public QWidget, public WindowPort {
 public:
  explicit QtWindow(QWidget* parent = nullptr);
  // Messages still waiting to be sent are abandoned: their senders get 0.
  ~QtWindow() override;

  void SetProcedure(WindowProcedure* procedure) override;
  LRESULT SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void InvalidateRect(const Rect* rect, bool erase) override;
  TimerId SetTimer(TimerId id, UINT periodMs) override;
  bool KillTimer(TimerId id) override;
  Rect ClientRect() const override;
  ScrollBar& HorizontalScrollBar() override { return scrollBar_; }
  void SetCapture() override { capture_ = true; }
  void ReleaseCapture() override { capture_ = false; }
  bool HasCapture() const override { return capture_; }
  void SetCursor(CursorShape shape) override;
  Point CursorPosition() const override { return cursor_; }
  Point ClientToScreen(Point client) const override;
  Point ScreenToClient(Point screen) const override;
  void TrackPopupMenu(const PopupMenu& menu, Point screen) override;
  bool IsWindowThread() const override { return std::this_thread::get_id() == owner_; }
  void WaitHandlingSent(const std::function<bool()>& done) override;
  void Wake() override;

  // The host's side of the window.
  // The canvas the widget shows (null: none; the widget is then filled with its background).
  // It must stay alive while it is set.
  void SetSurface(const gdi::Bitmap* surface);
  // Shows the canvas again soon, without a WM_PAINT.
  void Present() { update(); }
  unsigned PaintCount() const { return paintCount_; }
  bool HasTimer(TimerId id) const { return timers_.count(id) != 0; }
  QScrollBar& ScrollBarWidget() { return scrollBar_.Widget(); }
  // As if the user worked the scroll bar: the track position follows `thumb` for thumb
  // requests, then WM_HSCROLL reaches the procedure (the wheel's way of scrolling).
  void UserScroll(unsigned request, int thumb = 0);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  LRESULT Deliver(UINT msg, WPARAM wParam, LPARAM lParam);
  void RequestUpdateLocked();
  // Remembers where a mouse event happened and answers its client point.
  Point Track(const QPointF& local);

  const std::thread::id owner_;
  WindowProcedure* procedure_ = nullptr;
  QtScrollBar scrollBar_;
  std::map<TimerId, int> timers_;  // window timer id -> Qt timer id
  const gdi::Bitmap* surface_ = nullptr;
  unsigned paintCount_ = 0;
  bool capture_ = false;
  Point cursor_;  // screen point of the last mouse event

  mutable std::mutex mutex_;  // guards everything below, and the state of sent_
  std::condition_variable changed_;
  SentMessageQueue sent_;  // also the activity signal; abandoned at destruction
  int width_ = 0;
  int height_ = 0;
  PendingPaint paint_;
  bool updateRequested_ = false;  // an update event is on its way to the window thread
};

}  // namespace win
