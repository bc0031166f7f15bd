// The messages other threads send to a window, waiting for its window thread, and the
// activity signal of the window: a generation counter that every change a waiting thread may
// care about (a sent or posted message, an invalidation, a wake-up) moves on, announced on the
// window's condition variable.
//
// The queue shares the window's mutex and condition variable, because the same mutex also
// guards the window's own state (its posted messages, its pending paint). Methods whose names
// end in Locked expect the caller to hold that mutex; all others take it themselves and must
// be called without it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/window/WindowTypes.h"

namespace win {

class SentMessageQueue final {
 public:
  using Clock = std::chrono::steady_clock;
  // Hands one message to the window's procedure and returns its result.
  using Deliver = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

  SentMessageQueue(std::mutex& mutex, std::condition_variable& changed, Deliver deliver);
  SentMessageQueue(const SentMessageQueue&) = delete;
  SentMessageQueue& operator=(const SentMessageQueue&) = delete;

  // From a thread other than the window thread: queues the message, then blocks until the
  // window thread has handled it (its result) or the queue was abandoned (0). `queued`, when
  // given, runs under the mutex right after the message joined the queue. Once the queue is
  // abandoned, returns 0 at once.
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam, const std::function<void()>& queued = {});
  // On the window thread: delivers the oldest waiting message and releases its sender (true),
  // or finds none waiting (false).
  bool HandleOne();
  // On the window thread: handles sent messages, and nothing else, until done() holds.
  // done() is checked whenever the activity generation moves.
  void WaitHandling(const std::function<bool()>& done);
  // Blocks, without handling anything, until a sender waits in the queue or the queue was
  // abandoned.
  void WaitForIncoming();
  // For the window's destruction: releases every waiting sender with 0 and turns later sends
  // (and the window's posts) away.
  void Abandon();

  // The activity signal.
  std::uint64_t Generation() const;
  // Blocks until the generation differs from `generation` or `until` passed.
  void WaitForActivity(std::uint64_t generation, Clock::time_point until);
  // Moves the generation on and wakes every waiting thread.
  void Wake();
  void WakeLocked();
  bool AbandonedLocked() const { return abandoned_; }

 private:
  struct Call {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
  };

  std::mutex& mutex_;
  std::condition_variable& changed_;
  const Deliver deliver_;
  // Guarded by mutex_.
  std::deque<std::shared_ptr<Call>> calls_;
  std::uint64_t generation_ = 0;
  bool abandoned_ = false;
  int senders_ = 0;  // threads inside Send, waiting for their call
};

}  // namespace win
