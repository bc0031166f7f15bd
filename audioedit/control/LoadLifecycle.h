// The load and cancel state of one control, under one mutex. The loads themselves run on
// LoadRunner's threads; this records what the control is doing with them, so that a cancel,
// the hand-over of a result and the control's end never see each other half done.
//
//            BeginCancel                       Close (destructor)
//   Open  -------------->  Cancelling          Open | Cancelling  ------> Closed
//     ^                        |
//     +------- EndCancel ------+               Closed is final: no more events, no
//                                              hand-over, no cancel.
//
// Besides the phase it counts the hand-overs under way: the window thread handling a load's
// result (BeginHandOver .. EndHandOver, only while Open). A cancel asked for during a
// hand-over (from an event the hand-over fires) must not wait for the worker, because the
// worker is waiting for that very hand-over. A cancel asked for on any other thread waits
// until the hand-over has ended, so a host never sees a load's result after its cancel.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace audioedit {

class LoadLifecycle {
 public:
  enum class Phase { Open, Cancelling, Closed };

  LoadLifecycle() = default;
  LoadLifecycle(const LoadLifecycle&) = delete;
  LoadLifecycle& operator=(const LoadLifecycle&) = delete;

  // Open -> Cancelling. False when a cancel is already under way or the control is closed.
  // Waits for a hand-over on another thread to end; `duringHandOver` tells whether the
  // calling thread is itself inside one.
  [[nodiscard]] bool BeginCancel(bool& duringHandOver);
  // Cancelling -> Open.
  void EndCancel();

  // A hand-over may start only while Open. True when it did (then EndHandOver follows).
  [[nodiscard]] bool BeginHandOver();
  void EndHandOver();

  // Any phase -> Closed.
  void Close();
  bool IsClosed() const;
  Phase Current() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable handOverEnded_;
  Phase phase_ = Phase::Open;
  int handOvers_ = 0;
  std::thread::id handOverThread_;  // valid while handOvers_ > 0
};

}  // namespace audioedit
