#include "audioedit/control/LoadRunner.h"

#include <system_error>
#include <utility>

namespace audioedit {

LoadRunner::~LoadRunner() {
  epoch_.fetch_add(1, std::memory_order_acq_rel);
  Join(Last());
}

std::shared_ptr<LoadRunner::Worker> LoadRunner::Last() const {
  std::lock_guard lock(mutex_);
  return last_;
}

bool LoadRunner::HasWorker() const {
  std::lock_guard lock(mutex_);
  return kept_;
}

bool LoadRunner::OnWorkerThread() const {
  const std::shared_ptr<Worker> last = Last();
  return last && last->thread.get_id() == std::this_thread::get_id();
}

bool LoadRunner::Running() const {
  const std::shared_ptr<Worker> last = Last();
  return last && !last->finished.load(std::memory_order_acquire);
}

bool LoadRunner::Start(Job job) {
  auto worker = std::make_shared<Worker>();
  std::lock_guard lock(mutex_);
  std::shared_ptr<Worker> previous = last_;
  const CancelToken token(&epoch_, epoch_.load(std::memory_order_acquire));
  try {
    // The new thread owns the previous one: it joins it before its own load begins. The
    // thread may start before `worker->thread` is assigned; it reads only `finished`.
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

void LoadRunner::Join(const std::shared_ptr<Worker>& worker) {
  if (!worker || !worker->thread.joinable()) return;
  if (worker->thread.get_id() == std::this_thread::get_id()) return;
  worker->thread.join();
}

bool LoadRunner::RequestCancel() {
  {
    std::lock_guard lock(mutex_);
    if (!kept_) return false;
    kept_ = false;
  }
  epoch_.fetch_add(1, std::memory_order_acq_rel);
  return true;
}

bool LoadRunner::Cancel(const Waiter& wait) {
  {
    std::lock_guard lock(mutex_);
    if (!kept_) return false;
    kept_ = false;
  }
  StopAll(wait);
  return true;
}

void LoadRunner::StopAll(const Waiter& wait) {
  epoch_.fetch_add(1, std::memory_order_acq_rel);
  const std::shared_ptr<Worker> worker = Last();
  if (!worker) return;
  if (wait) wait([worker] { return worker->finished.load(std::memory_order_acquire); });
  Join(worker);
}

}  // namespace audioedit
