#include "platform/window/HeadlessWindow.h"

#include <algorithm>
#include <cstdint>

namespace win {

namespace {
// Upper bound of one idle wait; waits are woken by activity long before.
constexpr std::chrono::hours kLongWait{1};
}  // namespace

HeadlessWindow::HeadlessWindow(int width, int height)
    : owner_(std::this_thread::get_id()),
      width_(width),
      height_(height),
      sent_(mutex_, changed_, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return Deliver(msg, wParam, lParam);
      }) {}

HeadlessWindow::~HeadlessWindow() { sent_.Abandon(); }

void HeadlessWindow::SetProcedure(WindowProcedure* procedure) { procedure_ = procedure; }

LRESULT HeadlessWindow::Deliver(UINT msg, WPARAM wParam, LPARAM lParam) {
  return procedure_ ? procedure_->WindowProc(msg, wParam, lParam) : 0;
}

LRESULT HeadlessWindow::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsWindowThread()) return Deliver(msg, wParam, lParam);
  return sent_.Send(msg, wParam, lParam);
}

bool HeadlessWindow::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  std::lock_guard lock(mutex_);
  if (sent_.AbandonedLocked()) return false;
  posted_.push_back(Posted{msg, wParam, lParam});
  sent_.WakeLocked();
  return true;
}

void HeadlessWindow::InvalidateRect(const Rect* rect, bool erase) {
  std::lock_guard lock(mutex_);
  const Rect area = rect ? *rect : Rect{0, 0, width_, height_};
  paint_.Add(area, erase);
  sent_.WakeLocked();
}

bool HeadlessWindow::PaintPending() const {
  std::lock_guard lock(mutex_);
  return paint_.pending;
}

void HeadlessWindow::Wake() { sent_.Wake(); }

TimerId HeadlessWindow::SetTimer(TimerId id, UINT periodMs) {
  timers_[id] = Timer{periodMs, Clock::now() + std::chrono::milliseconds(periodMs)};
  return id;
}

bool HeadlessWindow::KillTimer(TimerId id) { return timers_.erase(id) != 0; }

UINT HeadlessWindow::TimerPeriod(TimerId id) const {
  const auto it = timers_.find(id);
  return it == timers_.end() ? 0 : it->second.periodMs;
}

bool HeadlessWindow::FireTimer(TimerId id) {
  if (!HasTimer(id)) return false;
  Deliver(WM_TIMER, id, 0);
  return true;
}

bool HeadlessWindow::HandlePosted() {
  Posted message{};
  {
    std::lock_guard lock(mutex_);
    if (posted_.empty()) return false;
    message = posted_.front();
    posted_.pop_front();
  }
  Deliver(message.msg, message.wParam, message.lParam);
  return true;
}

bool HeadlessWindow::HandlePaint() {
  PendingPaint taken;
  {
    std::lock_guard lock(mutex_);
    if (!paint_.pending) return false;
    taken = paint_.Take();
  }
  const Rect update = taken.area;
  const bool erase = taken.erase;
  if (erase) Deliver(WM_ERASEBKGND, 0, 0);
  lastPaintErased_ = erase;
  ++paintCount_;
  if (paintHook_) {
    paintHook_(update);
  } else {
    Deliver(WM_PAINT, 0, 0);
  }
  return true;
}

bool HeadlessWindow::HandleTimer() {
  const auto now = Clock::now();
  for (auto& [id, timer] : timers_) {
    if (timer.due > now) continue;
    timer.due = now + std::chrono::milliseconds(timer.periodMs);
    Deliver(WM_TIMER, id, 0);
    return true;
  }
  return false;
}

bool HeadlessWindow::DispatchOne() {
  return sent_.HandleOne() || HandlePosted() || HandlePaint() || HandleTimer();
}

HeadlessWindow::Clock::time_point HeadlessWindow::NextTimerDue() const {
  auto next = Clock::now() + kLongWait;
  for (const auto& entry : timers_) next = std::min(next, entry.second.due);
  return next;
}

bool HeadlessWindow::RunUntil(const std::function<bool()>& done,
                              std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    const std::uint64_t generation = sent_.Generation();
    if (done()) return true;
    if (DispatchOne()) continue;
    if (Clock::now() >= deadline) return false;
    sent_.WaitForActivity(generation, std::min(deadline, NextTimerDue()));
  }
}

int HeadlessWindow::RunPending() {
  int handled = 0;
  while (DispatchOne()) ++handled;
  return handled;
}

void HeadlessWindow::WaitHandlingSent(const std::function<bool()>& done) {
  sent_.WaitHandling(done);
}

void HeadlessWindow::WaitForIncomingSend() { sent_.WaitForIncoming(); }

void HeadlessWindow::Resize(int width, int height) {
  {
    std::lock_guard lock(mutex_);
    width_ = width;
    height_ = height;
  }
  Deliver(WM_SIZE, 0, MakeLParam(static_cast<unsigned>(width), static_cast<unsigned>(height)));
  InvalidateRect(nullptr, true);
}

void HeadlessWindow::UserScroll(unsigned request, int thumb) {
  if (request == SB_THUMBTRACK || request == SB_THUMBPOSITION) scrollBar_.SetTrackPosition(thumb);
  Deliver(WM_HSCROLL, MakeWParam(request, static_cast<unsigned>(thumb)), 0);
}

Point HeadlessWindow::ClientToScreen(Point client) const {
  return Point{client.x + origin_.x, client.y + origin_.y};
}

Point HeadlessWindow::ScreenToClient(Point screen) const {
  return Point{screen.x - origin_.x, screen.y - origin_.y};
}

void HeadlessWindow::TrackPopupMenu(const PopupMenu& menu, Point screen) {
  menus_.push_back(ShownMenu{menu, screen});
  const MenuItem* chosen = menuChoice_ != 0 ? menu.Find(menuChoice_) : nullptr;
  if (chosen && chosen->enabled) PostMessage(WM_COMMAND, MakeWParam(chosen->id, 0), 0);
}

void HeadlessWindow::MoveCursor(int x, int y) { cursorScreen_ = ClientToScreen(Point{x, y}); }

void HeadlessWindow::MouseDown(int x, int y, WPARAM keys) {
  MoveCursor(x, y);
  Deliver(WM_LBUTTONDOWN, keys | MK_LBUTTON, LParamFromPoint(Point{x, y}));
}

void HeadlessWindow::MouseMove(int x, int y, WPARAM keys) {
  MoveCursor(x, y);
  if (!capture_ &&
      Deliver(WM_SETCURSOR, 0, MakeLParam(HTCLIENT, WM_MOUSEMOVE)) == 0)
    cursor_ = CursorShape::kArrow;
  Deliver(WM_MOUSEMOVE, keys, LParamFromPoint(Point{x, y}));
}

void HeadlessWindow::MouseUp(int x, int y, WPARAM keys) {
  MoveCursor(x, y);
  Deliver(WM_LBUTTONUP, keys & ~MK_LBUTTON, LParamFromPoint(Point{x, y}));
}

void HeadlessWindow::RightClick(int x, int y) {
  MoveCursor(x, y);
  Deliver(WM_CONTEXTMENU, 0, LParamFromPoint(ClientToScreen(Point{x, y})));
}

void HeadlessWindow::MenuKey() { Deliver(WM_CONTEXTMENU, 0, kKeyboardContextMenu); }

}  // namespace win
