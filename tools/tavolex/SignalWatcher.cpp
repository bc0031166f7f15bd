#include "tools/tavolex/SignalWatcher.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace tavolex_cli {

SignalWatcher::SignalWatcher(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
  sigemptyset(&watched_);
  sigaddset(&watched_, SIGINT);
  sigaddset(&watched_, SIGTERM);
  sigaddset(&watched_, SIGHUP);
  if (::pthread_sigmask(SIG_BLOCK, &watched_, &previous_) != 0) return;
  signalFd_ = ::signalfd(-1, &watched_, SFD_CLOEXEC);
  stopFd_ = ::eventfd(0, EFD_CLOEXEC);
  if (signalFd_ < 0 || stopFd_ < 0) {
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    return;
  }
  thread_ = std::thread([this] { Watch(); });
}

SignalWatcher::~SignalWatcher() {
  if (thread_.joinable()) {
    const std::uint64_t one = 1;
    while (::write(stopFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
    thread_.join();
    // A signal that comes from here on has its usual effect: the work is already undone.
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  if (signalFd_ >= 0) ::close(signalFd_);
  if (stopFd_ >= 0) ::close(stopFd_);
}

void SignalWatcher::Watch() {
  pollfd fds[2] = {{signalFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
  for (;;) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if ((fds[1].revents & POLLIN) != 0) return;
    if ((fds[0].revents & POLLIN) == 0) continue;
    signalfd_siginfo info{};
    if (::read(signalFd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
    int expected = 0;
    if (received_.compare_exchange_strong(expected, static_cast<int>(info.ssi_signo)) &&
        onSignal_) {
      onSignal_(static_cast<int>(info.ssi_signo));
    }
  }
}

void IgnoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

}  // namespace tavolex_cli
