// What a window offers to the object that lives in it (the control): messages to and from
// other threads, timers, invalidation, the client size and the horizontal scroll bar child.
//
// Threads: the window belongs to the thread that created it (the window thread). SendMessage,
// PostMessage, InvalidateRect and Wake may be called from any thread; everything else only on
// the window thread.
//
// Mouse: the window delivers WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP (client coordinates,
// key state in wParam), WM_SETCURSOR before each mouse move while no window holds the capture
// (a procedure that answers 0 gets the arrow), and WM_CONTEXTMENU (screen coordinates, or
// kKeyboardContextMenu from the keyboard). The mouse members run on the window thread.
//
// Painting: when an invalidated window is due for painting, the host either calls the paint
// hook it was given (HeadlessWindow::SetPaintHook, the Qt widget's paint event) or, without a
// hook, delivers WM_PAINT to the window procedure. A WM_ERASEBKGND comes first when any
// invalidation asked for erasing.
#pragma once

#include <functional>

#include "platform/window/PopupMenu.h"
#include "platform/window/ScrollBar.h"
#include "platform/window/WindowTypes.h"

namespace win {

// Receives the window's messages, always on the window thread.
class WindowProcedure {
 public:
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  WindowProcedure() = default;
  ~WindowProcedure() = default;
  WindowProcedure(const WindowProcedure&) = delete;
  WindowProcedure& operator=(const WindowProcedure&) = delete;
};

class WindowPort {
 public:
  virtual ~WindowPort() = default;
  WindowPort(const WindowPort&) = delete;
  WindowPort& operator=(const WindowPort&) = delete;

  // Installs the procedure that receives the messages (null detaches it; messages then go
  // nowhere and SendMessage answers 0). The owner sends WM_CREATE / WM_DESTROY itself.
  virtual void SetProcedure(WindowProcedure* procedure) = 0;

  // On the window thread: calls the procedure directly. From another thread: queues the
  // message and blocks until the window thread handled it; answers 0 when the window is
  // destroyed before that.
  virtual LRESULT SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // Queues the message for the window thread and returns at once; false once destroyed.
  virtual bool PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

  // Marks `rect` (null: the whole client area) for repainting.
  virtual void InvalidateRect(const Rect* rect, bool erase) = 0;

  // WM_TIMER with wParam `id` every `periodMs` milliseconds until KillTimer. Setting a running
  // id restarts it. Returns id (never 0 for a nonzero id).
  virtual TimerId SetTimer(TimerId id, UINT periodMs) = 0;
  virtual bool KillTimer(TimerId id) = 0;

  // (0, 0, width, height).
  virtual Rect ClientRect() const = 0;
  // The horizontal scroll bar child; it notifies the window with WM_HSCROLL.
  virtual ScrollBar& HorizontalScrollBar() = 0;

  // Mouse capture: moves and the button-up come to this window wherever the mouse is.
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual bool HasCapture() const = 0;
  // The cursor shown while the mouse is over the client area.
  virtual void SetCursor(CursorShape shape) = 0;
  // Where the mouse is, in screen coordinates, and the conversions of the client area.
  virtual Point CursorPosition() const = 0;
  virtual Point ClientToScreen(Point client) const = 0;
  virtual Point ScreenToClient(Point screen) const = 0;
  // Shows `menu` at `screen` (its top left corner) until the user chooses or dismisses it;
  // a chosen item arrives afterwards as a posted WM_COMMAND with wParam = MakeWParam(id, 0).
  virtual void TrackPopupMenu(const PopupMenu& menu, Point screen) = 0;

  virtual bool IsWindowThread() const = 0;
  // On the window thread: blocks until done() is true, handling meanwhile the messages other
  // threads send to this window (posted messages, timers and paints wait). done() is
  // evaluated again whenever a message arrives or another thread calls Wake().
  virtual void WaitHandlingSent(const std::function<bool()>& done) = 0;
  // Any thread: lets a WaitHandlingSent evaluate its condition again.
  virtual void Wake() = 0;

 protected:
  WindowPort() = default;
};

}  // namespace win
