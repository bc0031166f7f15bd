// A window procedure that writes down every message with the thread it arrived on.
#pragma once

#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/window/WindowPort.h"

namespace qt_test {

struct Received {
  win::UINT msg;
  win::WPARAM wParam;
  win::LPARAM lParam;
  std::thread::id thread;
};

class RecordingProcedure final : public win::WindowProcedure {
 public:
  win::LRESULT WindowProc(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) override {
    {
      std::lock_guard lock(mutex_);
      received_.push_back(Received{msg, wParam, lParam, std::this_thread::get_id()});
    }
    if (onMessage) return onMessage(msg, wParam, lParam);
    return 0;
  }

  // Messages other than painting ones, in arrival order.
  std::vector<win::UINT> Messages() const {
    std::lock_guard lock(mutex_);
    std::vector<win::UINT> out;
    for (const Received& r : received_)
      if (r.msg != win::WM_PAINT && r.msg != win::WM_ERASEBKGND) out.push_back(r.msg);
    return out;
  }
  std::vector<Received> All() const {
    std::lock_guard lock(mutex_);
    return received_;
  }
  bool Saw(win::UINT msg) const {
    std::lock_guard lock(mutex_);
    for (const Received& r : received_)
      if (r.msg == msg) return true;
    return false;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    received_.clear();
  }

  std::function<win::LRESULT(win::UINT, win::WPARAM, win::LPARAM)> onMessage;

 private:
  mutable std::mutex mutex_;
  std::vector<Received> received_;
};

}  // namespace qt_test
