// Turns SIGINT, SIGTERM and SIGHUP into an orderly stop. While a SignalWatcher lives, the
// three signals are blocked in the thread that made it and in every thread started after
// (make it first, before any worker), and a thread of its own waits for them; the first one
// is recorded and `onSignal` runs on that thread (it should only set flags and wake the
// main loop). The command then cancels its work, removes its temporary files and exits with
// ExitStatus() = 128 + the signal number. SIGXFSZ is ignored while the process runs, so a
// file-size limit makes a write fail with "File too large" instead of killing the process.
#pragma once

#include <signal.h>

#include <atomic>
#include <functional>
#include <thread>

namespace tavolex_cli {

class SignalWatcher {
 public:
  explicit SignalWatcher(std::function<void(int)> onSignal = {});
  ~SignalWatcher();
  SignalWatcher(const SignalWatcher&) = delete;
  SignalWatcher& operator=(const SignalWatcher&) = delete;

  // 0 until a signal came, then its number.
  int Received() const { return received_.load(); }
  int ExitStatus() const { return 128 + Received(); }
  // False when the watching thread could not be started (the signals keep their default).
  bool IsWatching() const { return thread_.joinable(); }

 private:
  void Watch();

  std::function<void(int)> onSignal_;
  sigset_t watched_{};
  sigset_t previous_{};
  int signalFd_ = -1;
  int stopFd_ = -1;
  std::atomic<int> received_{0};
  std::thread thread_;
};

// Makes a file-size limit an ordinary write error ("File too large").
void IgnoreFileSizeSignal();

}  // namespace tavolex_cli
