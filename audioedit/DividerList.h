// The control's list of dividers: start and end of the audio to keep, track splits and
// index marks, in CD frames, kept sorted by frame (stable). Also holds the selection, the
// enumeration cursor, the current frame and mark, and MinSplitFrames.
//
// The members named like the control's methods return the control's status codes
// (S_OK, or S_FALSE while no file is loaded) and results (0 done, 1 refused), so the
// control forwards to them directly. Runs on the window thread, except the Install
// operations, which the loading worker calls after a successful load.
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <span>

#include "audioedit/Divider.h"
#include "audioedit/DividerListHost.h"
#include "platform/com/Types.h"

namespace audioedit {

class DividerList {
 public:
  using Iterator = std::list<DIVIDER>::iterator;
  using ConstIterator = std::list<DIVIDER>::const_iterator;
  static constexpr com::ULONG kNoSelection = 0xFFFFFFFF;
  static constexpr com::ULONG kDefaultMinSplitFrames = 75;

  explicit DividerList(DividerListHost& host) : host_(host) {}
  DividerList(const DividerList&) = delete;
  DividerList& operator=(const DividerList&) = delete;

  // --- members of the control interface ---
  com::HRESULT DividerCount(com::LONG* count) const;
  com::HRESULT InitEnumDividers();
  com::HRESULT GetNextDivider(com::LONG* divType, com::ULONG* frame, com::LONG* result);
  com::HRESULT AddDivider(com::ULONG frame, com::LONG divType, com::ULONG* result);
  com::HRESULT SetDivider(com::ULONG oldFrame, com::ULONG newFrame, com::ULONG* result);
  com::HRESULT RemoveDivider(com::ULONG frame);
  com::HRESULT ConvertIndicesToSplits();
  com::HRESULT ConvertSplitsToIndices();
  com::HRESULT get_SelectedDivider(com::ULONG* frame) const;
  com::HRESULT put_SelectedDivider(com::ULONG frame);
  com::HRESULT get_CurrentFrame(com::ULONG* frame) const;
  com::HRESULT put_CurrentFrame(com::ULONG frame);
  com::HRESULT get_MinSplitFrames(com::ULONG* frames) const;
  com::HRESULT put_MinSplitFrames(com::ULONG frames);

  // --- operations of the loader, the view and the mouse and menu commands ---
  // The audio the positions refer to: sampling rate and total length T in CD frames.
  void SetTimeBase(std::uint32_t freq, std::uint32_t totalFrames);
  // 0 added, 1 refused.
  com::ULONG InsertDivider(std::uint32_t frame, com::LONG divType);
  void DeleteDividerAt(std::uint32_t frame);
  bool CanMoveDivider(ConstIterator divider, std::uint32_t frame) const;
  // Moves `divider` to `frame` if the rules allow; true when moved (the list is re-sorted).
  bool MoveDivider(Iterator divider, std::uint32_t frame);
  // Installs the given dividers unchanged (sample recomputed), or the default pair when
  // fewer than two are given.
  void InstallDividers(std::span<const DIVIDER> dividers);
  void InstallDefaultDividers();
  // Single conversions of the selected divider; true when something changed.
  bool ConvertSelectedToIndex();
  bool ConvertSelectedToSplit();

  const std::list<DIVIDER>& Dividers() const { return list_; }
  Iterator begin() { return list_.begin(); }
  Iterator end() { return list_.end(); }
  std::optional<Iterator> Selected() const { return selected_; }
  void Select(Iterator divider);
  void SelectNone() { selected_.reset(); }
  // Current mark: shown by clicks and playback, hidden by selections and edits.
  void ShowCurrentMark(std::uint32_t frame);
  void HideCurrentMark() { markVisible_ = false; }
  bool CurrentMarkVisible() const { return markVisible_; }
  std::uint32_t CurrentFrameValue() const { return currentFrame_; }
  std::uint32_t MinSplitFrames() const { return minSplitFrames_; }
  std::uint32_t TotalFrames() const { return totalFrames_; }

 private:
  Iterator FindAt(std::uint32_t frame);
  bool TooCloseToSplitBounds(std::uint32_t frame, std::optional<std::uint32_t> ignoreFrame) const;
  void Sort() {
    list_.sort([](const DIVIDER& a, const DIVIDER& b) { return a.frame < b.frame; });
  }
  void Erase(Iterator it);
  void ForgetCursors();
  DIVIDER Make(com::LONG type, std::uint32_t frame) const;

  DividerListHost& host_;
  std::list<DIVIDER> list_;
  std::optional<Iterator> selected_;
  std::optional<Iterator> cursor_;  // none before the first InitEnumDividers
  std::uint32_t currentFrame_ = 0;
  bool markVisible_ = false;
  std::uint32_t minSplitFrames_ = kDefaultMinSplitFrames;
  std::uint32_t freq_ = 0;
  std::uint32_t totalFrames_ = 0;
};

}  // namespace audioedit
