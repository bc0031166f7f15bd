#include "audioedit/DividerList.h"

#include <cstdlib>

#include "audioedit/CdFrames.h"

namespace audioedit {
namespace {

using com::E_POINTER;
using com::HRESULT;
using com::S_FALSE;
using com::S_OK;

bool IsStartOrEnd(std::int32_t type) { return type == DIV_Start || type == DIV_End; }
// The kinds a split keeps its distance from.
bool BoundsSplits(std::int32_t type) { return IsStartOrEnd(type) || type == DIV_Split; }
bool IsKnownType(std::int32_t type) { return type >= DIV_Start && type <= DIV_Current; }

std::int64_t Distance(std::uint32_t a, std::uint32_t b) {
  return std::llabs(std::int64_t{a} - std::int64_t{b});
}

}  // namespace

DIVIDER DividerList::Make(com::LONG type, std::uint32_t frame) const {
  return DIVIDER{type, FrameToSample(frame, freq_), frame};
}

DividerList::Iterator DividerList::FindAt(std::uint32_t frame) {
  for (auto it = list_.begin(); it != list_.end(); ++it)
    if (it->frame == frame) return it;
  return list_.end();
}

bool DividerList::TooCloseToSplitBounds(std::uint32_t frame,
                                        std::optional<std::uint32_t> ignoreFrame) const {
  for (const DIVIDER& d : list_) {
    if (!BoundsSplits(d.type) || (ignoreFrame && d.frame == *ignoreFrame)) continue;
    if (Distance(d.frame, frame) < std::int64_t{minSplitFrames_}) return true;
  }
  return false;
}

void DividerList::Erase(Iterator it) {
  if (cursor_ && *cursor_ == it) cursor_ = std::next(it);
  if (selected_ && *selected_ == it) selected_.reset();
  list_.erase(it);
}

void DividerList::ForgetCursors() {
  selected_.reset();
  cursor_.reset();
}

void DividerList::SetTimeBase(std::uint32_t freq, std::uint32_t totalFrames) {
  freq_ = freq;
  totalFrames_ = totalFrames;
}

com::ULONG DividerList::InsertDivider(std::uint32_t frame, com::LONG divType) {
  if (IsStartOrEnd(divType) || !IsKnownType(divType)) return 1;
  if (FindAt(frame) != list_.end() || list_.empty()) return 1;
  if (frame <= list_.front().frame || frame >= list_.back().frame) return 1;
  if (divType == DIV_Split && TooCloseToSplitBounds(frame, std::nullopt)) return 1;
  list_.push_back(Make(divType, frame));
  Sort();
  markVisible_ = false;
  selected_.reset();
  host_.RedrawDividers();
  return 0;
}

void DividerList::DeleteDividerAt(std::uint32_t frame) {
  for (auto it = list_.begin(); it != list_.end(); ++it) {
    if (it->frame != frame || IsStartOrEnd(it->type)) continue;
    Erase(it);
    Sort();
    selected_.reset();
    host_.RedrawDividers();
    return;
  }
}

bool DividerList::CanMoveDivider(ConstIterator d, std::uint32_t frame) const {
  const std::uint32_t minimum = minSplitFrames_;
  if (d->type == DIV_Start) {
    const auto next = std::next(d);
    if (next == list_.end()) return frame <= totalFrames_;
    if (frame >= next->frame) return false;
    for (auto s = next; s != list_.end(); ++s)
      if (s->type == DIV_Split || s->type == DIV_End) return s->frame - frame >= minimum;
    return true;
  }
  if (d->type == DIV_End) {
    if (frame > totalFrames_) return false;
    if (d == list_.begin()) return true;
    auto s = std::prev(d);
    if (frame <= s->frame) return false;
    for (;; --s) {
      if (s->type == DIV_Split || s->type == DIV_Start) return frame - s->frame >= minimum;
      if (s == list_.begin()) return true;
    }
  }
  if (frame <= list_.front().frame || frame >= list_.back().frame) return false;
  return d->type != DIV_Split || !TooCloseToSplitBounds(frame, d->frame);
}

bool DividerList::MoveDivider(Iterator divider, std::uint32_t frame) {
  if (!CanMoveDivider(divider, frame)) return false;
  divider->frame = frame;
  divider->sample = FrameToSample(frame, freq_);
  Sort();
  return true;
}

void DividerList::InstallDefaultDividers() {
  list_.clear();
  list_.push_back(Make(DIV_Start, 0));
  list_.push_back(Make(DIV_End, totalFrames_));
  ForgetCursors();
}

void DividerList::InstallDividers(std::span<const DIVIDER> dividers) {
  if (dividers.size() < 2) {
    InstallDefaultDividers();
    return;
  }
  list_.clear();
  std::int32_t previous = DIV_Index;
  for (const DIVIDER& d : dividers) {
    // An element without a kind takes the kind of the one before it.
    std::int32_t type = d.type == DIV_UNKNOWN ? previous : d.type;
    if (!IsKnownType(type)) type = DIV_Index;
    list_.push_back(Make(type, d.frame));
    previous = type;
  }
  Sort();
  ForgetCursors();
}

void DividerList::Select(Iterator divider) {
  selected_ = divider;
  currentFrame_ = divider->frame;
  markVisible_ = false;
}

void DividerList::ShowCurrentMark(std::uint32_t frame) {
  currentFrame_ = frame;
  markVisible_ = true;
}

bool DividerList::ConvertSelectedToIndex() {
  if (!selected_ || (*selected_)->type != DIV_Split) return false;
  (*selected_)->type = DIV_Index;
  host_.RepaintAll();
  return true;
}

bool DividerList::ConvertSelectedToSplit() {
  if (!selected_ || (*selected_)->type != DIV_Index) return false;
  if (TooCloseToSplitBounds((*selected_)->frame, std::nullopt)) return false;
  (*selected_)->type = DIV_Split;
  host_.RepaintAll();
  return true;
}

// --- members of the control interface ---

HRESULT DividerList::DividerCount(com::LONG* count) const {
  if (count == nullptr) return E_POINTER;
  *count = static_cast<com::LONG>(list_.size());
  return S_OK;
}

HRESULT DividerList::InitEnumDividers() {
  if (!host_.IsLoaded()) return S_FALSE;
  cursor_ = list_.begin();
  return S_OK;
}

HRESULT DividerList::GetNextDivider(com::LONG* divType, com::ULONG* frame, com::LONG* result) {
  if (divType == nullptr || frame == nullptr || result == nullptr) return E_POINTER;
  if (!host_.IsLoaded()) return S_FALSE;
  if (!cursor_ || *cursor_ == list_.end()) {
    *result = 0;
    return S_OK;
  }
  *divType = (*cursor_)->type;
  *frame = (*cursor_)->frame;
  *result = 1;
  ++*cursor_;
  return S_OK;
}

HRESULT DividerList::AddDivider(com::ULONG frame, com::LONG divType, com::ULONG* result) {
  if (result == nullptr) return E_POINTER;
  if (!host_.IsLoaded()) {
    *result = 1;
    return S_FALSE;
  }
  *result = InsertDivider(frame, divType);
  return S_OK;
}

HRESULT DividerList::SetDivider(com::ULONG oldFrame, com::ULONG newFrame, com::ULONG* result) {
  if (result == nullptr) return E_POINTER;
  if (!host_.IsLoaded()) return S_FALSE;
  *result = 0;
  if (oldFrame == newFrame) return S_OK;
  if (FindAt(newFrame) != list_.end()) {
    *result = 1;
    return S_OK;
  }
  const Iterator it = FindAt(oldFrame);
  if (it == list_.end()) {
    Sort();
    host_.RedrawDividers();
    return S_OK;
  }
  if (!MoveDivider(it, newFrame)) {
    *result = 1;
    return S_OK;
  }
  if (IsStartOrEnd(it->type)) {
    host_.RepaintAll();
  } else {
    host_.RedrawDividers();
  }
  return S_OK;
}

HRESULT DividerList::RemoveDivider(com::ULONG frame) {
  if (!host_.IsLoaded()) return S_FALSE;
  DeleteDividerAt(frame);
  return S_OK;
}

HRESULT DividerList::ConvertIndicesToSplits() {
  if (!host_.IsLoaded()) return S_FALSE;
  const std::int64_t minimum = minSplitFrames_;
  for (auto q = list_.empty() ? list_.end() : std::next(list_.begin()); q != list_.end(); ++q) {
    if (q->type != DIV_Index) continue;
    bool allowed = true;
    for (auto s = list_.begin(); s != q && allowed; ++s)
      if ((s->type == DIV_Split || s->type == DIV_Start) &&
          std::int64_t{q->frame} - s->frame < minimum)
        allowed = false;
    for (auto s = std::next(q); s != list_.end() && allowed; ++s)
      if ((s->type == DIV_Split || s->type == DIV_End) &&
          std::int64_t{s->frame} - q->frame < minimum)
        allowed = false;
    if (allowed) q->type = DIV_Split;
  }
  host_.RepaintAll();
  return S_OK;
}

HRESULT DividerList::ConvertSplitsToIndices() {
  if (!host_.IsLoaded()) return S_FALSE;
  bool changed = false;
  for (DIVIDER& d : list_) {
    if (d.type != DIV_Split) continue;
    d.type = DIV_Index;
    changed = true;
  }
  if (changed) host_.RepaintAll();
  return S_OK;
}

HRESULT DividerList::get_SelectedDivider(com::ULONG* frame) const {
  if (frame == nullptr) return E_POINTER;
  if (!host_.IsLoaded()) return S_FALSE;
  *frame = selected_ ? (*selected_)->frame : kNoSelection;
  return S_OK;
}

HRESULT DividerList::put_SelectedDivider(com::ULONG frame) {
  if (!host_.IsLoaded()) return S_FALSE;
  const Iterator it = FindAt(frame);
  if (it == list_.end()) return S_OK;
  Select(it);
  host_.BringIntoView(frame);
  return S_OK;
}

HRESULT DividerList::get_CurrentFrame(com::ULONG* frame) const {
  if (frame == nullptr) return E_POINTER;
  *frame = markVisible_ ? currentFrame_ : 0;
  return S_OK;
}

HRESULT DividerList::put_CurrentFrame(com::ULONG frame) {
  currentFrame_ = frame;
  return S_OK;
}

HRESULT DividerList::get_MinSplitFrames(com::ULONG* frames) const {
  if (frames == nullptr) return E_POINTER;
  *frames = minSplitFrames_;
  return S_OK;
}

HRESULT DividerList::put_MinSplitFrames(com::ULONG frames) {
  minSplitFrames_ = frames;
  return S_OK;
}

}  // namespace audioedit
