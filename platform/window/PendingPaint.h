// What a window still has to paint: the union of the invalidated areas and whether the
// background is to be erased first. Kept under the owning window's lock.
#pragma once

#include "platform/window/WindowTypes.h"

namespace win {

struct PendingPaint {
  bool pending = false;
  bool erase = false;
  Rect area{};

  void Add(const Rect& invalid, bool eraseBackground) {
    area = pending ? UnionRect(area, invalid) : invalid;
    pending = true;
    erase = erase || eraseBackground;
  }
  // Hands the pending paint over and starts afresh.
  PendingPaint Take() {
    PendingPaint taken = *this;
    *this = PendingPaint{};
    return taken;
  }
};

}  // namespace win
