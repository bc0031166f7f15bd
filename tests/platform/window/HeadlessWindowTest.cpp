#include "platform/window/HeadlessWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace win {
namespace {

struct Received {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Received&) const = default;
};

// Records every message on the window thread; answers wParam + 1.
class Recorder final : public WindowProcedure {
 public:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    EXPECT_EQ(std::this_thread::get_id(), thread);
    log.push_back({msg, wParam, lParam});
    if (onMessage) onMessage(msg);
    return static_cast<LRESULT>(wParam + 1);
  }
  std::thread::id thread = std::this_thread::get_id();
  std::vector<Received> log;
  std::function<void(UINT)> onMessage;
};

class HeadlessWindowTest : public testing::Test {
 protected:
  HeadlessWindowTest() { window.SetProcedure(&proc); }
  Recorder proc;
  HeadlessWindow window{320, 200};
};

TEST_F(HeadlessWindowTest, SendOnTheWindowThreadIsADirectCall) {
  EXPECT_TRUE(window.IsWindowThread());
  EXPECT_EQ(window.SendMessage(WM_APP + 5, 41, 0), 42);
  ASSERT_EQ(proc.log.size(), 1u);
  EXPECT_EQ(window.ClientRect(), (Rect{0, 0, 320, 200}));
}

TEST_F(HeadlessWindowTest, SendFromAnotherThreadBlocksUntilThePumpHandledIt) {
  std::atomic<LRESULT> answer{-1};
  std::thread sender([&] { answer = window.SendMessage(WM_APP + 2, 7, 0); });
  EXPECT_TRUE(window.RunUntil([&] { return !proc.log.empty(); }));
  sender.join();
  EXPECT_EQ(answer.load(), 8);
  EXPECT_FALSE(window.IsWindowThread() && proc.log.empty());
}

TEST_F(HeadlessWindowTest, SentMessagesGoBeforePostedOnesAndPaintsComeLast) {
  window.InvalidateRect(nullptr, false);
  window.PostMessage(WM_APP + 1, 1, 0);
  std::thread sender([&] { window.SendMessage(WM_APP + 2, 2, 0); });
  window.WaitForIncomingSend();
  window.RunUntil([&] { return window.PaintCount() == 1; });
  sender.join();
  ASSERT_EQ(proc.log.size(), 3u);
  EXPECT_EQ(proc.log[0].msg, WM_APP + 2);
  EXPECT_EQ(proc.log[1].msg, WM_APP + 1);
  EXPECT_EQ(proc.log[2].msg, WM_PAINT);
}

TEST_F(HeadlessWindowTest, InvalidationsCoalesceIntoOnePaintWithEraseFirst) {
  window.InvalidateRect(nullptr, false);
  const Rect small{1, 2, 3, 4};
  window.InvalidateRect(&small, true);
  EXPECT_TRUE(window.PaintPending());
  EXPECT_EQ(window.RunPending(), 1);
  ASSERT_EQ(proc.log.size(), 2u);
  EXPECT_EQ(proc.log[0].msg, WM_ERASEBKGND);
  EXPECT_EQ(proc.log[1].msg, WM_PAINT);
  EXPECT_EQ(window.PaintCount(), 1u);
  EXPECT_TRUE(window.LastPaintErased());
  EXPECT_FALSE(window.PaintPending());
}

TEST_F(HeadlessWindowTest, PaintHookTakesThePlaceOfWmPaint) {
  Rect painted;
  window.SetPaintHook([&](const Rect& update) { painted = update; });
  const Rect area{10, 10, 20, 20};
  window.InvalidateRect(&area, false);
  window.RunPending();
  EXPECT_EQ(painted, area);
  EXPECT_TRUE(proc.log.empty());
}

TEST_F(HeadlessWindowTest, TimersTickUntilKilled) {
  window.SetTimer(42, 1);
  EXPECT_TRUE(window.HasTimer(42));
  EXPECT_EQ(window.TimerPeriod(42), 1u);
  EXPECT_TRUE(window.RunUntil([&] { return proc.log.size() >= 2; }));
  EXPECT_EQ(proc.log[0], (Received{WM_TIMER, 42, 0}));
  EXPECT_TRUE(window.KillTimer(42));
  EXPECT_FALSE(window.FireTimer(42));
  window.SetTimer(7, 100000);
  EXPECT_TRUE(window.FireTimer(7));
  EXPECT_EQ(proc.log.back(), (Received{WM_TIMER, 7, 0}));
}

TEST_F(HeadlessWindowTest, WaitHandlingSentLeavesPostedMessagesQueued) {
  std::atomic<bool> finished{false};
  window.PostMessage(WM_APP + 9, 0, 0);
  std::thread worker([&] {
    window.SendMessage(WM_APP + 3, 0, 0);
    finished = true;
    window.Wake();
  });
  window.WaitHandlingSent([&] { return finished.load(); });
  worker.join();
  ASSERT_EQ(proc.log.size(), 1u);
  EXPECT_EQ(proc.log[0].msg, WM_APP + 3);
  window.RunPending();
  EXPECT_EQ(proc.log.back().msg, WM_APP + 9);
}

TEST_F(HeadlessWindowTest, RunUntilGivesUpAfterItsLimit) {
  EXPECT_FALSE(window.RunUntil([] { return false; }, std::chrono::milliseconds(1)));
}

TEST_F(HeadlessWindowTest, ResizeSendsSizeAndInvalidates) {
  window.Resize(640, 100);
  ASSERT_EQ(proc.log.size(), 1u);
  EXPECT_EQ(proc.log[0], (Received{WM_SIZE, 0, MakeLParam(640, 100)}));
  EXPECT_EQ(window.ClientRect(), (Rect{0, 0, 640, 100}));
  EXPECT_TRUE(window.PaintPending());
}

TEST_F(HeadlessWindowTest, UserScrollDeliversTheRequestWithTheTrackPosition) {
  window.HorizontalScrollBar().SetInfo(ScrollInfo{0, 100, 10, 0, 0}, SIF_ALL);
  window.UserScroll(SB_THUMBTRACK, 30);
  EXPECT_EQ(window.HorizontalScrollBar().GetInfo().trackPos, 30);
  ASSERT_EQ(proc.log.size(), 1u);
  EXPECT_EQ(proc.log[0].msg, WM_HSCROLL);
  EXPECT_EQ(LowWord(proc.log[0].wParam), SB_THUMBTRACK);
  EXPECT_EQ(HighWord(proc.log[0].wParam), 30u);
}

TEST_F(HeadlessWindowTest, TheMouseArrivesAsAWindowWouldSendIt) {
  window.SetScreenOrigin(Point{1000, 500});
  window.MouseDown(10, -3, MK_LBUTTON | MK_CONTROL);
  window.MouseMove(12, 40, MK_LBUTTON);
  window.SetCapture();
  window.MouseMove(-5, 40, MK_LBUTTON);  // no WM_SETCURSOR while captured
  window.MouseUp(-5, 40);
  window.RightClick(7, 8);
  window.MenuKey();
  const std::vector<Received> expected{
      {WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MakeLParam(10, 0xFFFD)},
      {WM_SETCURSOR, 0, MakeLParam(HTCLIENT, WM_MOUSEMOVE)},
      {WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(12, 40)},
      {WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(0xFFFB, 40)},
      {WM_LBUTTONUP, 0, MakeLParam(0xFFFB, 40)},
      {WM_CONTEXTMENU, 0, MakeLParam(1007, 508)},
      {WM_CONTEXTMENU, 0, kKeyboardContextMenu}};
  EXPECT_EQ(proc.log, expected);
  EXPECT_EQ(PointFromLParam(MakeLParam(0xFFFB, 40)), (Point{-5, 40}));
  EXPECT_EQ(window.CursorPosition(), (Point{1007, 508}));
  EXPECT_EQ(window.ScreenToClient(window.CursorPosition()), (Point{7, 8}));
  EXPECT_TRUE(window.HasCapture());
  window.ReleaseCapture();
  EXPECT_FALSE(window.HasCapture());
}

TEST_F(HeadlessWindowTest, MenusAreRecordedAndOnlyEnabledChoicesComeBack) {
  PopupMenu menu("M");
  menu.AddItem(5, "Five");
  menu.AddSeparator();
  menu.AddItem(6, "Six");
  EXPECT_TRUE(menu.EnableItem(6, false));
  EXPECT_FALSE(menu.EnableItem(7, false));
  window.ChooseFromMenus(6);
  window.TrackPopupMenu(menu, Point{3, 4});
  window.ChooseFromMenus(5);
  window.TrackPopupMenu(menu, Point{1, 2});
  menu.EnableItem(5, false);  // the record keeps the menu as it was shown
  window.RunPending();
  ASSERT_EQ(window.ShownMenus().size(), 2u);
  EXPECT_EQ(window.ShownMenus()[0].screen, (Point{3, 4}));
  EXPECT_FALSE(window.ShownMenus()[0].menu.Find(6)->enabled);
  EXPECT_TRUE(window.ShownMenus()[1].menu.Find(5)->enabled);
  EXPECT_EQ(proc.log, (std::vector<Received>{{WM_COMMAND, MakeWParam(5, 0), 0}}));
}

TEST_F(HeadlessWindowTest, AnUnansweredSetCursorGivesTheArrow) {
  window.SetCursor(CursorShape::kSizeWE);
  proc.onMessage = nullptr;
  // The recorder answers wParam + 1 (nonzero): the shape stays.
  window.MouseMove(1, 1);
  EXPECT_EQ(window.Cursor(), CursorShape::kSizeWE);
  window.SetProcedure(nullptr);
  window.MouseMove(2, 1);
  EXPECT_EQ(window.Cursor(), CursorShape::kArrow);
}

TEST(HeadlessWindow, DestructionReleasesBlockedSenders) {
  // The window lives on the heap so that a sender touching it after its destruction is caught
  // by the address sanitizer; several rounds vary the interleaving of the sender's wake-up.
  for (int round = 0; round < 20; ++round) {
    std::atomic<LRESULT> answer{-1};
    Recorder proc;
    auto window = std::make_unique<HeadlessWindow>(10, 10);
    window->SetProcedure(&proc);
    HeadlessWindow* target = window.get();
    std::thread sender([&] { answer = target->SendMessage(WM_APP, 5, 0); });
    window->WaitForIncomingSend();
    window.reset();
    sender.join();
    EXPECT_EQ(answer.load(), 0);
  }
}

}  // namespace
}  // namespace win
