// The horizontal scroll bar child of a window: range, page, position, track position,
// enabled and visible state and its placement. ScrollBar is what a window's owner sees;
// ScrollBarModel keeps the numbers with the clamping rules scroll bars have always had.
#pragma once

#include "platform/window/WindowTypes.h"

namespace win {

// Parts of ScrollInfo that SetInfo applies.
inline constexpr unsigned SIF_RANGE = 0x1;
inline constexpr unsigned SIF_PAGE = 0x2;
inline constexpr unsigned SIF_POS = 0x4;
inline constexpr unsigned SIF_TRACKPOS = 0x10;
inline constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct ScrollInfo {
  int min = 0;
  int max = 0;
  unsigned page = 0;
  int pos = 0;
  int trackPos = 0;  // the thumb position while the user drags it
  friend bool operator==(const ScrollInfo&, const ScrollInfo&) = default;
};

class ScrollBar {
 public:
  virtual ~ScrollBar() = default;
  ScrollBar(const ScrollBar&) = delete;
  ScrollBar& operator=(const ScrollBar&) = delete;

  // Applies the parts named by `mask` (SIF_*; SIF_TRACKPOS is ignored) and clamps: the page
  // to the range's size, the position to [min, HighestPosition()]. Returns the new position.
  virtual int SetInfo(const ScrollInfo& info, unsigned mask) = 0;
  virtual ScrollInfo GetInfo() const = 0;
  // max - (page - 1) when the page is above 1, else max; never below min.
  virtual int HighestPosition() const = 0;
  virtual void Enable(bool enabled) = 0;
  virtual bool IsEnabled() const = 0;
  virtual void Show(bool visible) = 0;
  virtual bool IsVisible() const = 0;
  virtual void Move(const Rect& placement) = 0;  // in the window's client coordinates
  virtual Rect Placement() const = 0;

 protected:
  ScrollBar() = default;
};

// The numbers of a scroll bar, without any drawing. Hosts with real widgets derive from it and
// mirror the state in Changed().
class ScrollBarModel : public ScrollBar {
 public:
  ScrollBarModel() = default;

  int SetInfo(const ScrollInfo& info, unsigned mask) override;
  ScrollInfo GetInfo() const override { return info_; }
  int HighestPosition() const override;
  void Enable(bool enabled) override;
  bool IsEnabled() const override { return enabled_; }
  void Show(bool visible) override;
  bool IsVisible() const override { return visible_; }
  void Move(const Rect& placement) override;
  Rect Placement() const override { return placement_; }

  // The user drags the thumb: the track position follows (clamped), the position stays.
  void SetTrackPosition(int pos);

 protected:
  virtual void Changed() {}

 private:
  int Clamp(int pos) const;

  ScrollInfo info_;
  bool enabled_ = true;
  bool visible_ = true;
  Rect placement_;
};

}  // namespace win
