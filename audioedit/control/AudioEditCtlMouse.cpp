// The members of AudioEditCtl that belong to the mouse and the context menu: selecting and
// dragging dividers, setting the current position, the hover feedback and the menu's
// commands. Everything here runs on the window thread.
#include <cstdlib>
#include <limits>

#include "audioedit/Pec.h"
#include "audioedit/control/AudioEditCtl.h"
#include "audioedit/control/ControlView.h"

namespace audioedit {
namespace {

// A divider is hit when its column is fewer than this many pixels from the mouse.
constexpr std::int64_t kHitTolerance = 4;
// Horizontal distance from the press point at which a pressed divider starts to follow.
constexpr int kDragThreshold = 6;

static_assert(static_cast<std::uint32_t>(PlayState::kStopped) == kPlaybackStopped &&
              static_cast<std::uint32_t>(PlayState::kPaused) == kPlaybackPaused &&
              static_cast<std::uint32_t>(PlayState::kRunning) == kPlaybackRunning);

bool IsStartOrEnd(std::int32_t type) { return type == DIV_Start || type == DIV_End; }

}  // namespace

win::LRESULT AudioEditCtl::MouseMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam,
                                        bool& handled) {
  handled = true;
  const bool loaded = state_.HasAudio();
  switch (msg) {
    case win::WM_LBUTTONDOWN:
      if (loaded) OnLButtonDown(win::PointFromLParam(lParam));
      return 0;
    case win::WM_MOUSEMOVE:
      if (loaded) OnMouseMove(win::PointFromLParam(lParam), wParam);
      return 0;
    case win::WM_LBUTTONUP:
      if (loaded) OnLButtonUp();
      return 0;
    case win::WM_SETCURSOR:
      OnSetCursor();
      return 1;
    case win::WM_CONTEXTMENU:
      if (loaded) OnContextMenu(lParam);
      return 0;
    case win::WM_COMMAND:
      OnCommand(win::LowWord(wParam));
      return 0;
    default:
      handled = false;
      return 0;
  }
}

DividerList::Iterator AudioEditCtl::FindDivider(std::uint32_t frame) {
  for (auto it = dividers_.begin(); it != dividers_.end(); ++it)
    if (it->frame == frame) return it;
  return dividers_.end();
}

// The nearest divider on screen within the tolerance; of equally near ones the first in list
// order, which is the one with the lower frame.
std::optional<DividerList::Iterator> AudioEditCtl::HitDivider(int x) {
  const view::ColumnMapping mapping = view_->Wave().Mapping();
  const int right = view_->Wave().Layout().Right();
  std::optional<DividerList::Iterator> best;
  std::int64_t bestDistance = kHitTolerance;
  for (auto it = dividers_.begin(); it != dividers_.end(); ++it) {
    const std::int64_t column = mapping.ColumnOfFrame(it->frame);
    if (column < 0 || column > right) continue;
    const std::int64_t distance = std::llabs(column - x);
    if (distance >= bestDistance) continue;
    bestDistance = distance;
    best = it;
  }
  return best;
}

void AudioEditCtl::WriteDividerTime(const DIVIDER& divider) {
  const std::int64_t column = view_->Wave().Mapping().ColumnOfFrame(divider.frame);
  view_->Wave().DividerTimeText(static_cast<int>(column), divider);
}

void AudioEditCtl::OnLButtonDown(win::Point p) {
  const view::ViewLayout& layout = view_->Wave().Layout();
  if (p.y <= layout.view.top || p.y >= layout.view.bottom) return;
  const std::optional<DividerList::Iterator> hit = HitDivider(p.x);
  if (hit) {
    const DIVIDER divider = **hit;
    FireDividerSelected(divider.frame);
    // The event's handler may have changed the list: go on with what is there now.
    const DividerList::Iterator it = FindDivider(divider.frame);
    if (it == dividers_.end()) return;
    mouse_.press = p;
    mouse_.dragging = true;
    mouse_.thresholdPending = true;
    mouse_.dragged = it->frame;
    dividers_.Select(it);  // also the current frame, with the mark hidden
    if (port_) port_->SetCapture();
    RedrawDividers();
    WriteDividerTime(*it);
    return;
  }
  FireDividerSelected(DividerList::kNoSelection);
  mouse_.dragging = false;
  mouse_.dragged.reset();
  dividers_.SelectNone();
  dividers_.ShowCurrentMark(view_->Wave().Mapping().FrameAtX(p.x, layout.view.left));
  RedrawDividers();
}

void AudioEditCtl::OnMouseMove(win::Point p, win::WPARAM keys) {
  if (!mouse_.dragging || (keys & win::MK_LBUTTON) == 0 || !mouse_.dragged) return;
  if (mouse_.thresholdPending) {
    if (std::abs(mouse_.press.x - p.x) < kDragThreshold && (keys & win::MK_CONTROL) == 0) return;
    mouse_.thresholdPending = false;
  }
  mouse_.moved = true;
  const view::ViewLayout& layout = view_->Wave().Layout();
  int x = p.x;
  if (x < 0) x = layout.view.left;
  if (x > layout.Right()) x = layout.Right();
  std::uint32_t frame = view_->Wave().Mapping().FrameAtX(x, layout.view.left);
  if (frame >= dividers_.TotalFrames()) frame = dividers_.TotalFrames();

  const DividerList::Iterator dragged = FindDivider(*mouse_.dragged);
  if (dragged == dividers_.end() || frame == dragged->frame) return;
  if (FindDivider(frame) != dividers_.end()) return;
  // A refused frame leaves the divider where it was; later moves are tried again.
  if (!dividers_.MoveDivider(dragged, frame)) return;
  mouse_.dragged = frame;
  dividers_.Select(dragged);
  RedrawDividers();
  WriteDividerTime(*dragged);
}

void AudioEditCtl::OnLButtonUp() {
  if (!mouse_.dragging) return;
  mouse_.dragging = false;
  if (port_) port_->ReleaseCapture();
  if (!mouse_.moved) return;
  mouse_.moved = false;
  FireAudioEditMsg(AEMSG_UpdateDividers, 0);
  // Moving the start or the end changes the active range: wave and channel line change colour.
  const DividerList::Iterator dragged =
      mouse_.dragged ? FindDivider(*mouse_.dragged) : dividers_.end();
  if (dragged != dividers_.end() && IsStartOrEnd(dragged->type)) RepaintAll();
}

void AudioEditCtl::OnSetCursor() {
  if (!port_) return;
  if (!state_.HasAudio()) {
    port_->SetCursor(win::CursorShape::kArrow);
    return;
  }
  const win::Point p = port_->ScreenToClient(port_->CursorPosition());
  if (mouse_.dragging) return;
  const gdi::RECT& wave = view_->Wave().Layout().wave;
  if (p.x < wave.left || p.x > wave.right || p.y < wave.top || p.y > wave.bottom) {
    port_->SetCursor(win::CursorShape::kArrow);
    return;
  }
  if (const std::optional<DividerList::Iterator> hit = HitDivider(p.x)) {
    mouse_.timeTextShown = true;
    WriteDividerTime(**hit);
    port_->SetCursor(win::CursorShape::kSizeWE);
    return;
  }
  if (mouse_.timeTextShown) {
    mouse_.timeTextShown = false;
    RedrawDividers();  // takes the text away
  }
  port_->SetCursor(win::CursorShape::kArrow);
}

MenuConditions AudioEditCtl::ContextMenuConditions() const {
  MenuConditions c;
  c.zoom = view_->Zoom();
  c.peaksPerColumn = view_->Wave().Mapping().PeaksPerColumn();
  c.markShown = dividers_.CurrentMarkVisible();
  if (const auto selected = dividers_.Selected()) c.selectedType = (*selected)->type;
  c.play = MenuPlayState();
  for (const DIVIDER& d : dividers_.Dividers()) c.anyIndex = c.anyIndex || d.type == DIV_Index;
  return c;
}

void AudioEditCtl::OnContextMenu(win::LPARAM where) {
  if (!port_ || !contextMenu_) return;
  win::Point screen = win::PointFromLParam(where);
  if (where == win::kKeyboardContextMenu) {
    // From the keyboard: at the current position's column, at the top of the wave.
    const view::ViewLayout& layout = view_->Wave().Layout();
    const std::int64_t column =
        view_->Wave().Mapping().ColumnOfFrame(dividers_.CurrentFrameValue());
    const std::int64_t x = std::min<std::int64_t>(std::max<std::int64_t>(column, 0), layout.Right());
    screen = port_->ClientToScreen(win::Point{static_cast<int>(x), layout.wave.top});
  }
  EnableContextMenu(*contextMenu_, ContextMenuConditions());
  port_->TrackPopupMenu(*contextMenu_, screen);
}

void AudioEditCtl::RunPlaybackCommand(HRESULT (AudioEditCtl::*command)()) {
  (this->*command)();
  FireAudioEditMsg(AEMSG_State_Stopped + static_cast<std::uint32_t>(MenuPlayState()), 0);
}

void AudioEditCtl::OnCommand(win::UINT id) {
  if (!state_.HasAudio()) return;
  switch (id) {
    case ID_AE_ADDSPLIT:
    case ID_AE_ADDINDEX:
      if (!dividers_.CurrentMarkVisible()) return;
      if (dividers_.InsertDivider(dividers_.CurrentFrameValue(),
                                  id == ID_AE_ADDSPLIT ? DIV_Split : DIV_Index) == 0)
        FireAudioEditMsg(AEMSG_UpdateDividers, 0);
      return;
    case ID_AE_REMOVE: {
      const auto selected = dividers_.Selected();
      if (!selected || IsStartOrEnd((*selected)->type)) return;
      dividers_.DeleteDividerAt((*selected)->frame);
      FireAudioEditMsg(AEMSG_UpdateDividers, 0);
      return;
    }
    case ID_AE_TOSPLIT:
      if (dividers_.ConvertSelectedToSplit()) FireAudioEditMsg(AEMSG_UpdateDividers, 0);
      return;
    case ID_AE_TOINDEX:
      if (dividers_.ConvertSelectedToIndex()) FireAudioEditMsg(AEMSG_UpdateDividers, 0);
      return;
    case ID_AE_ALLTOSPLITS:
      dividers_.ConvertIndicesToSplits();
      FireAudioEditMsg(AEMSG_UpdateDividers, 0);
      return;
    case ID_AE_ZOOMIN:
      view_->ZoomIn();
      return;
    case ID_AE_ZOOMOUT:
      view_->ZoomOut();
      return;
    case ID_AE_FULLVIEW:
      view_->ZoomOutFull();
      return;
    case ID_AE_PLAY:
      return RunPlaybackCommand(&AudioEditCtl::AudioPlay);
    case ID_AE_PAUSE:
      return RunPlaybackCommand(&AudioEditCtl::AudioPause);
    case ID_AE_STOP:
      return RunPlaybackCommand(&AudioEditCtl::AudioStop);
    default:
      return;
  }
}

void AudioEditCtl::ResetMouseAfterLoad() {
  if (mouse_.dragging && port_) port_->ReleaseCapture();
  mouse_ = MouseState{};
  if (!contextMenu_) contextMenu_ = MakeContextMenu();
}

}  // namespace audioedit
