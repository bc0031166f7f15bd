#include "audioedit/control/LoadLifecycle.h"

namespace audioedit {

bool LoadLifecycle::BeginCancel(bool& duringHandOver) {
  std::unique_lock lock(mutex_);
  const std::thread::id self = std::this_thread::get_id();
  handOverEnded_.wait(lock, [&] { return handOvers_ == 0 || handOverThread_ == self; });
  if (phase_ != Phase::Open) return false;
  phase_ = Phase::Cancelling;
  duringHandOver = handOvers_ > 0;
  return true;
}

void LoadLifecycle::EndCancel() {
  std::lock_guard lock(mutex_);
  if (phase_ == Phase::Cancelling) phase_ = Phase::Open;
}

bool LoadLifecycle::BeginHandOver() {
  std::lock_guard lock(mutex_);
  if (phase_ != Phase::Open) return false;
  // Nested hand-overs happen only on the thread of the first (a result handled while an
  // event of the previous one waits on the window).
  if (handOvers_++ == 0) handOverThread_ = std::this_thread::get_id();
  return true;
}

void LoadLifecycle::EndHandOver() {
  {
    std::lock_guard lock(mutex_);
    if (handOvers_ > 0) --handOvers_;
  }
  handOverEnded_.notify_all();
}

void LoadLifecycle::Close() {
  std::lock_guard lock(mutex_);
  phase_ = Phase::Closed;
}

bool LoadLifecycle::IsClosed() const {
  std::lock_guard lock(mutex_);
  return phase_ == Phase::Closed;
}

LoadLifecycle::Phase LoadLifecycle::Current() const {
  std::lock_guard lock(mutex_);
  return phase_;
}

}  // namespace audioedit
