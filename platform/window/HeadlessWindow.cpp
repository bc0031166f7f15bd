#include "platform/window/HeadlessWindow.h"

#include <algorithm>

namespace win {

namespace {
// Upper bound of one idle wait; waits are woken by activity long before.
constexpr std::chrono::hours kLongWait{1};
}  // namespace

struct HeadlessWindow::SentCall {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  bool done = false;
};

HeadlessWindow::HeadlessWindow(int width, int height)
    : owner_(std::this_thread::get_id()), width_(width), height_(height) {}

HeadlessWindow::~HeadlessWindow() {
  std::lock_guard lock(mutex_);
  destroyed_ = true;
  for (auto& call : sent_) call->done = true;
  sent_.clear();
  changed_.notify_all();
}

void HeadlessWindow::SetProcedure(WindowProcedure* procedure) { procedure_ = procedure; }

LRESULT HeadlessWindow::Deliver(UINT msg, WPARAM wParam, LPARAM lParam) {
  return procedure_ ? procedure_->WindowProc(msg, wParam, lParam) : 0;
}

LRESULT HeadlessWindow::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsWindowThread()) return Deliver(msg, wParam, lParam);
  auto call = std::make_shared<SentCall>(SentCall{msg, wParam, lParam});
  std::unique_lock lock(mutex_);
  if (destroyed_) return 0;
  sent_.push_back(call);
  ++generation_;
  changed_.notify_all();
  changed_.wait(lock, [&] { return call->done; });
  return call->result;
}

bool HeadlessWindow::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  std::lock_guard lock(mutex_);
  if (destroyed_) return false;
  posted_.push_back(Posted{msg, wParam, lParam});
  ++generation_;
  changed_.notify_all();
  return true;
}

void HeadlessWindow::InvalidateRect(const Rect* rect, bool erase) {
  std::lock_guard lock(mutex_);
  const Rect area = rect ? *rect : Rect{0, 0, width_, height_};
  update_ = paintPending_ ? UnionRect(update_, area) : area;
  paintPending_ = true;
  erasePending_ = erasePending_ || erase;
  ++generation_;
  changed_.notify_all();
}

bool HeadlessWindow::PaintPending() const {
  std::lock_guard lock(mutex_);
  return paintPending_;
}

void HeadlessWindow::Wake() {
  std::lock_guard lock(mutex_);
  ++generation_;
  changed_.notify_all();
}

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

bool HeadlessWindow::HandleSent() {
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
  Rect update;
  bool erase = false;
  {
    std::lock_guard lock(mutex_);
    if (!paintPending_) return false;
    paintPending_ = false;
    erase = erasePending_;
    erasePending_ = false;
    update = update_;
  }
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
  return HandleSent() || HandlePosted() || HandlePaint() || HandleTimer();
}

std::uint64_t HeadlessWindow::Generation() const {
  std::lock_guard lock(mutex_);
  return generation_;
}

HeadlessWindow::Clock::time_point HeadlessWindow::NextTimerDue() const {
  auto next = Clock::now() + kLongWait;
  for (const auto& entry : timers_) next = std::min(next, entry.second.due);
  return next;
}

void HeadlessWindow::WaitForActivity(std::uint64_t generation, Clock::time_point until) {
  std::unique_lock lock(mutex_);
  changed_.wait_until(lock, until, [&] { return generation_ != generation; });
}

bool HeadlessWindow::RunUntil(const std::function<bool()>& done,
                              std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    const std::uint64_t generation = Generation();
    if (done()) return true;
    if (DispatchOne()) continue;
    if (Clock::now() >= deadline) return false;
    WaitForActivity(generation, std::min(deadline, NextTimerDue()));
  }
}

int HeadlessWindow::RunPending() {
  int handled = 0;
  while (DispatchOne()) ++handled;
  return handled;
}

void HeadlessWindow::WaitHandlingSent(const std::function<bool()>& done) {
  for (;;) {
    const std::uint64_t generation = Generation();
    if (done()) return;
    if (HandleSent()) continue;
    WaitForActivity(generation, Clock::now() + kLongWait);
  }
}

void HeadlessWindow::WaitForIncomingSend() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !sent_.empty() || destroyed_; });
}

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

}  // namespace win
