// The worker threads of one control's loads. Every load runs on a thread of its own; a
// thread first waits for the one started before it, so the loads of one control run one
// after another in the order they were asked for, each with its own events. Cancel() stops
// every load started so far (a load started later is not affected) and waits until the last
// thread has ended; threads are never killed.
//
// Every member may be called from any thread (a host may cancel from an event handler that
// runs on a worker); the bookkeeping is under one mutex, which is never held while waiting.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace audioedit {

// What a running load asks to learn whether it should stop. Cheap to copy.
class CancelToken {
 public:
  CancelToken(const std::atomic<std::uint64_t>* epoch, std::uint64_t mine)
      : epoch_(epoch), mine_(mine) {}
  bool Cancelled() const { return epoch_->load(std::memory_order_acquire) != mine_; }

 private:
  const std::atomic<std::uint64_t>* epoch_;
  std::uint64_t mine_;
};

class LoadRunner {
 public:
  using Job = std::function<void(const CancelToken&)>;
  // Blocks until the predicate holds (the window thread keeps handling sent messages).
  using Waiter = std::function<void(const std::function<bool()>& finished)>;

  // `onFinished` is called on each worker thread right after its load ended (to wake a
  // waiting window thread).
  explicit LoadRunner(std::function<void()> onFinished = {}) : onFinished_(std::move(onFinished)) {}
  LoadRunner(const LoadRunner&) = delete;
  LoadRunner& operator=(const LoadRunner&) = delete;
  // Cancels what still runs and joins it.
  ~LoadRunner();

  // Runs `job` on a new thread once the previous load's thread has ended. False when no
  // thread could be started; nothing runs then.
  bool Start(Job job);

  // True while a thread is kept: from a Start until the next Cancel.
  bool HasWorker() const;
  // True on the thread of the last load started.
  bool OnWorkerThread() const;
  // True while the last started thread has not finished.
  bool Running() const;

  // Stops every load started so far and waits for the last thread with `wait` (then a plain
  // join); then forgets it. False (and nothing happens) without a kept thread.
  bool Cancel(const Waiter& wait);
  // As Cancel, without waiting (for callers the worker may be waiting for).
  bool RequestCancel();
  // Stops every load and waits for the threads, kept or not.
  void StopAll(const Waiter& wait);

 private:
  struct Worker {
    std::thread thread;
    std::atomic<bool> finished{false};
  };
  std::shared_ptr<Worker> Last() const;
  // Joins `worker` unless this is its own thread (a worker cannot join itself; the next
  // load's thread or the destructor does).
  static void Join(const std::shared_ptr<Worker>& worker);

  const std::function<void()> onFinished_;
  std::atomic<std::uint64_t> epoch_{0};
  mutable std::mutex mutex_;
  std::shared_ptr<Worker> last_;  // guarded by mutex_
  bool kept_ = false;             // guarded by mutex_
};

}  // namespace audioedit
