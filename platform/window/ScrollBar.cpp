#include "platform/window/ScrollBar.h"

#include <algorithm>

namespace win {

int ScrollBarModel::HighestPosition() const {
  const long long max = info_.page > 1 ? static_cast<long long>(info_.max) - (info_.page - 1)
                                       : static_cast<long long>(info_.max);
  return static_cast<int>(std::max<long long>(max, info_.min));
}

int ScrollBarModel::Clamp(int pos) const { return std::clamp(pos, info_.min, HighestPosition()); }

int ScrollBarModel::SetInfo(const ScrollInfo& info, unsigned mask) {
  if (mask & SIF_RANGE) {
    info_.min = info.min;
    info_.max = std::max(info.max, info.min);
  }
  if (mask & SIF_PAGE) info_.page = info.page;
  const long long span = static_cast<long long>(info_.max) - info_.min + 1;
  if (static_cast<long long>(info_.page) > span) info_.page = static_cast<unsigned>(span);
  if (mask & SIF_POS) info_.pos = info.pos;
  info_.pos = Clamp(info_.pos);
  info_.trackPos = info_.pos;
  Changed();
  return info_.pos;
}

void ScrollBarModel::SetTrackPosition(int pos) {
  info_.trackPos = Clamp(pos);
  Changed();
}

void ScrollBarModel::Enable(bool enabled) {
  enabled_ = enabled;
  Changed();
}

void ScrollBarModel::Show(bool visible) {
  visible_ = visible;
  Changed();
}

void ScrollBarModel::Move(const Rect& placement) {
  placement_ = placement;
  Changed();
}

}  // namespace win
