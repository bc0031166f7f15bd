// IAudioEditWindow: how a host that made the control through the component runtime gives it
// its window. It takes the place of in-place activation: the window port carries messages,
// timers, invalidation, the client size and the scroll bar child.
#pragma once

#include "platform/com/Unknown.h"
#include "platform/window/WindowPort.h"

namespace audioedit {

inline constexpr com::IID IID_IAudioEditWindow =
    com::MakeGuid("{39E02BAF-F465-4F76-B143-87798E6C4E5A}");

class IAudioEditWindow : public com::IUnknown {
 public:
  // Attaches the control to `port` (on the window's thread; the port outlives the
  // attachment); null detaches it from its window.
  virtual com::HRESULT AttachWindow(win::WindowPort* port) = 0;

 protected:
  ~IAudioEditWindow() = default;
};

}  // namespace audioedit
