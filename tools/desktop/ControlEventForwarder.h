// The desktop host's sink for the control's events. Events come from the window thread and
// from the loading worker; each one is handed to the receiver's thread (Qt's queued call),
// so the receiver only ever sees them on the window thread, in the order they were fired.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

#include "audioedit/control/ControlEventSink.h"

namespace desktop {

class ControlEventForwarder final : public audioedit::ControlEventSink<ControlEventForwarder> {
 public:
  using Handler = std::function<void(com::DISPID id, std::uint32_t first, std::uint32_t second)>;

  // `receiver` gives the thread and lifetime of the calls to `handler`.
  ControlEventForwarder(QObject& receiver, Handler handler)
      : receiver_(&receiver), handler_(std::move(handler)) {}

  // No more calls are queued after this returns (calls already queued are dropped when the
  // receiver goes away).
  void Detach() {
    std::lock_guard lock(mutex_);
    receiver_ = nullptr;
  }

  void OnControlEvent(com::DISPID id, std::span<const com::ULONG> args) {
    const std::uint32_t first = args.size() > 0 ? args[0] : 0;
    const std::uint32_t second = args.size() > 1 ? args[1] : 0;
    std::lock_guard lock(mutex_);
    if (!receiver_) return;
    QMetaObject::invokeMethod(
        receiver_, [handler = handler_, id, first, second] { handler(id, first, second); },
        Qt::QueuedConnection);
  }

 private:
  std::mutex mutex_;
  QObject* receiver_;  // guarded by mutex_
  const Handler handler_;
};

}  // namespace desktop
