// The horizontal scroll bar child of a QtWindow: the numbers live in the model (with its
// clamping rules), and every change is mirrored on a real QScrollBar. What the user does on
// that bar comes back as scroll requests (SB_*) for the window to deliver as WM_HSCROLL.
//
// Mapping: the model's range [min, max] with a page of n shows as the bar's range
// [min, HighestPosition()] with a page step of n, so the thumb covers the same share of the
// track; the bar's value is the model's position, except while the user holds the thumb.
#pragma once

#include <functional>

#include "platform/window/ScrollBar.h"

class QScrollBar;
class QWidget;

namespace win {

class QtScrollBar final : public ScrollBarModel {
 public:
  // request (SB_*), thumb position (for the thumb requests; 0 otherwise).
  using RequestSink = std::function<void(unsigned request, int thumb)>;

  // Makes the bar as a child of `parent`, which owns it.
  QtScrollBar(QWidget& parent, RequestSink sink);
  QtScrollBar(const QtScrollBar&) = delete;
  QtScrollBar& operator=(const QtScrollBar&) = delete;
  ~QtScrollBar() override;

  QScrollBar& Widget() { return *bar_; }

 protected:
  void Changed() override;

 private:
  class ReleaseFilter;

  void OnAction(int action);
  void Deliver(int action);
  void OnRelease();
  void Request(unsigned request, int thumb);

  QScrollBar* bar_;        // owned by the parent widget
  ReleaseFilter* filter_;  // owned by bar_
  RequestSink sink_;
  bool mirroring_ = false;
};

}  // namespace win
