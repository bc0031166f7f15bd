#include "platform/window/SentMessageQueue.h"

#include <utility>

namespace win {

namespace {
// Upper bound of one idle wait; waits are woken by activity long before.
constexpr std::chrono::hours kLongWait{1};
}  // namespace

SentMessageQueue::SentMessageQueue(std::mutex& mutex, std::condition_variable& changed,
                                   Deliver deliver)
    : mutex_(mutex), changed_(changed), deliver_(std::move(deliver)) {}

LRESULT SentMessageQueue::Send(UINT msg, WPARAM wParam, LPARAM lParam,
                               const std::function<void()>& queued) {
  auto call = std::make_shared<Call>(Call{msg, wParam, lParam});
  std::unique_lock lock(mutex_);
  if (abandoned_) return 0;
  calls_.push_back(call);
  ++senders_;
  WakeLocked();
  if (queued) queued();
  changed_.wait(lock, [&] { return call->done; });
  // The window may be going away: tell Abandon that this sender no longer needs its lock.
  if (--senders_ == 0 && abandoned_) changed_.notify_all();
  return call->result;
}

bool SentMessageQueue::HandleOne() {
  std::shared_ptr<Call> call;
  {
    std::lock_guard lock(mutex_);
    if (calls_.empty()) return false;
    call = calls_.front();
    calls_.pop_front();
  }
  const LRESULT result = deliver_(call->msg, call->wParam, call->lParam);
  std::lock_guard lock(mutex_);
  call->result = result;
  call->done = true;
  changed_.notify_all();
  return true;
}

void SentMessageQueue::WaitHandling(const std::function<bool()>& done) {
  for (;;) {
    const std::uint64_t generation = Generation();
    if (done()) return;
    if (HandleOne()) continue;
    WaitForActivity(generation, Clock::now() + kLongWait);
  }
}

void SentMessageQueue::WaitForIncoming() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !calls_.empty() || abandoned_; });
}

void SentMessageQueue::Abandon() {
  std::unique_lock lock(mutex_);
  abandoned_ = true;
  for (auto& call : calls_) call->done = true;
  calls_.clear();
  changed_.notify_all();
  // Released senders still have to relock the window's mutex to return; wait until they have,
  // so the mutex and condition variable outlive every use.
  changed_.wait(lock, [&] { return senders_ == 0; });
}

std::uint64_t SentMessageQueue::Generation() const {
  std::lock_guard lock(mutex_);
  return generation_;
}

void SentMessageQueue::WaitForActivity(std::uint64_t generation, Clock::time_point until) {
  std::unique_lock lock(mutex_);
  changed_.wait_until(lock, until, [&] { return generation_ != generation; });
}

void SentMessageQueue::Wake() {
  std::lock_guard lock(mutex_);
  WakeLocked();
}

void SentMessageQueue::WakeLocked() {
  ++generation_;
  changed_.notify_all();
}

}  // namespace win
