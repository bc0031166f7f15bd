// A window without a screen: for tests, command-line tools and off-screen rendering. The
// thread that constructs it is its window thread and runs its message loop by calling
// RunUntil / RunPending (there is no loop of its own). Messages sent from other threads wait
// in a queue until the window thread pumps; timers run on the steady clock; paints are
// coalesced and come after every queued message.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/window/PendingPaint.h"
#include "platform/window/SentMessageQueue.h"
#include "platform/window/WindowPort.h"

namespace win {

class HeadlessWindow final : public WindowPort {
 public:
  using PaintHook = std::function<void(const Rect& update)>;
  using Clock = std::chrono::steady_clock;

  HeadlessWindow(int width, int height);
  // Messages still waiting to be sent are abandoned: their senders get 0.
  ~HeadlessWindow() override;

  void SetProcedure(WindowProcedure* procedure) override;
  LRESULT SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void InvalidateRect(const Rect* rect, bool erase) override;
  TimerId SetTimer(TimerId id, UINT periodMs) override;
  bool KillTimer(TimerId id) override;
  Rect ClientRect() const override { return Rect{0, 0, width_, height_}; }
  ScrollBar& HorizontalScrollBar() override { return scrollBar_; }
  void SetCapture() override { capture_ = true; }
  void ReleaseCapture() override { capture_ = false; }
  bool HasCapture() const override { return capture_; }
  void SetCursor(CursorShape shape) override { cursor_ = shape; }
  Point CursorPosition() const override { return cursorScreen_; }
  Point ClientToScreen(Point client) const override;
  Point ScreenToClient(Point screen) const override;
  void TrackPopupMenu(const PopupMenu& menu, Point screen) override;
  bool IsWindowThread() const override { return std::this_thread::get_id() == owner_; }
  void WaitHandlingSent(const std::function<bool()>& done) override;
  void Wake() override;

  // The message loop, on the window thread. Handles sent messages, posted messages, paints
  // and due timers, in that order of priority, until done() holds (true) or `limit` passed
  // (false: a safety net against a test that would otherwise hang).
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds limit = std::chrono::seconds(60));
  // Handles everything that is due now, then returns the number of items handled.
  int RunPending();

  // The host's side of the window.
  void SetPaintHook(PaintHook hook) { paintHook_ = std::move(hook); }
  void Resize(int width, int height);  // WM_SIZE, then a full invalidation with erase
  unsigned PaintCount() const { return paintCount_; }
  bool PaintPending() const;
  bool LastPaintErased() const { return lastPaintErased_; }
  // As if the user worked the scroll bar: the track position follows `thumb` for thumb
  // requests, then WM_HSCROLL reaches the procedure.
  void UserScroll(unsigned request, int thumb = 0);
  // Timers as the window knows them; FireTimer delivers one tick now (false: no such timer).
  bool HasTimer(TimerId id) const { return timers_.count(id) != 0; }
  UINT TimerPeriod(TimerId id) const;
  bool FireTimer(TimerId id);

  // The user's mouse, as the window would report it (window thread). Each call moves the
  // cursor to the client point first; a move without the capture is preceded by
  // WM_SETCURSOR, as on a screen, and the arrow is set when the procedure answers 0.
  void MouseDown(int x, int y, WPARAM keys = MK_LBUTTON);
  void MouseMove(int x, int y, WPARAM keys = 0);
  void MouseUp(int x, int y, WPARAM keys = 0);
  // A right click at the client point: WM_CONTEXTMENU with its screen point.
  void RightClick(int x, int y);
  // The menu key: WM_CONTEXTMENU without a point.
  void MenuKey();
  // Where client (0, 0) lies on the screen (default (0, 0)).
  void SetScreenOrigin(Point origin) { origin_ = origin; }
  CursorShape Cursor() const { return cursor_; }
  // The menus shown so far, with their screen points, as they were when shown.
  struct ShownMenu {
    PopupMenu menu;
    Point screen;
  };
  const std::vector<ShownMenu>& ShownMenus() const { return menus_; }
  // What the "user" picks from the next menus (0: dismisses them). The choice is posted as
  // WM_COMMAND; a disabled item cannot be chosen.
  void ChooseFromMenus(UINT id) { menuChoice_ = id; }

  // Blocks (without handling anything) until another thread's SendMessage waits in the
  // queue, so that a test can act while a sender is blocked.
  void WaitForIncomingSend();

 private:
  struct Posted {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
  };
  struct Timer {
    UINT periodMs;
    Clock::time_point due;
  };

  LRESULT Deliver(UINT msg, WPARAM wParam, LPARAM lParam);
  bool HandlePosted();
  bool HandlePaint();
  bool HandleTimer();
  bool DispatchOne();
  Clock::time_point NextTimerDue() const;

  void MoveCursor(int x, int y);

  const std::thread::id owner_;
  int width_;
  int height_;
  WindowProcedure* procedure_ = nullptr;
  ScrollBarModel scrollBar_;
  std::map<TimerId, Timer> timers_;
  PaintHook paintHook_;
  unsigned paintCount_ = 0;
  bool lastPaintErased_ = false;
  bool capture_ = false;
  CursorShape cursor_ = CursorShape::kArrow;
  Point origin_;
  Point cursorScreen_;
  std::vector<ShownMenu> menus_;
  UINT menuChoice_ = 0;

  mutable std::mutex mutex_;  // guards everything below, and the state of sent_
  std::condition_variable changed_;
  SentMessageQueue sent_;  // also the activity signal; abandoned at destruction
  std::deque<Posted> posted_;
  PendingPaint paint_;
};

}  // namespace win
