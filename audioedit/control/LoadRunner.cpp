#include "audioedit/control/LoadRunner.h"

#include <system_error>
#include <utility>

namespace audioedit {

LoadRunner::~LoadRunner() {
  epoch_.fetch_add(1, std::memory_order_acq_rel);
  JoinLast();
}

bool LoadRunner::Running() const {
  return last_ && !last_->finished.load(std::memory_order_acquire);
}

bool LoadRunner::Start(Job job) {
  auto worker = std::make_shared<Worker>();
  std::shared_ptr<Worker> previous = last_;
  const CancelToken token(&epoch_, epoch_.load(std::memory_order_acquire));
  try {
    // The new thread owns the previous one: it joins it before its own load begins.
    worker->thread = std::thread([this, previous, worker, token, job = std::move(job)]() mutable {
      if (previous && previous->thread.joinable()) previous->thread.join();
      previous.reset();
      job(token);
      worker->finished.store(true, std::memory_order_release);
      if (onFinished_) onFinished_();
    });
  } catch (const std::system_error&) {
    return false;
  }
  last_ = std::move(worker);
  kept_ = true;
  return true;
}

void LoadRunner::JoinLast() {
  if (last_ && last_->thread.joinable()) last_->thread.join();
}

bool LoadRunner::RequestCancel() {
  if (!kept_) return false;
  kept_ = false;
  epoch_.fetch_add(1, std::memory_order_acq_rel);
  return true;
}

bool LoadRunner::Cancel(const Waiter& wait) {
  if (!kept_) return false;
  kept_ = false;
  StopAll(wait);
  return true;
}

void LoadRunner::StopAll(const Waiter& wait) {
  epoch_.fetch_add(1, std::memory_order_acq_rel);
  if (!last_) return;
  if (wait) {
    std::shared_ptr<Worker> worker = last_;
    wait([worker] { return worker->finished.load(std::memory_order_acquire); });
  }
  JoinLast();
}

}  // namespace audioedit
