// What the view needs from the window it draws in: its client size, its horizontal scroll
// bar, repaint requests, and a device context on the window for drawing outside a paint.
#pragma once

#include <functional>

#include "platform/gdi/DeviceContext.h"
#include "platform/window/ScrollBar.h"
#include "platform/window/WindowTypes.h"

namespace audioedit::view {

class ViewWindow {
 public:
  virtual win::Rect ClientRect() const = 0;
  virtual win::ScrollBar& HorizontalScrollBar() = 0;
  // Asks for a full paint of the whole window (with erase).
  virtual void InvalidateAll() = 0;
  // Runs `draw` on a device context of the window's surface, as between GetDC and ReleaseDC.
  // Does nothing while the window has no surface.
  virtual void DrawOnWindow(const std::function<void(gdi::DeviceContext&)>& draw) = 0;

 protected:
  ViewWindow() = default;
  ~ViewWindow() = default;
  ViewWindow(const ViewWindow&) = delete;
  ViewWindow& operator=(const ViewWindow&) = delete;
};

}  // namespace audioedit::view
