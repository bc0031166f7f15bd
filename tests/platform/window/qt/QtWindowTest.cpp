#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <atomic>
#include <thread>

#include "platform/gdi/Bitmap.h"
#include "platform/window/qt/QtWindow.h"
#include "tests/platform/window/qt/QtTestSupport.h"
#include "tests/platform/window/qt/RecordingProcedure.h"

namespace {

using qt_test::ProcessUntil;
using qt_test::RecordingProcedure;

constexpr win::UINT kFirst = win::WM_APP + 1;

class QtWindowTest : public ::testing::Test {
 protected:
  QtWindowTest() {
    window_ = std::make_unique<win::QtWindow>();
    window_->resize(160, 90);
    window_->SetProcedure(&procedure_);
  }
  ~QtWindowTest() override { window_->SetProcedure(nullptr); }

  RecordingProcedure procedure_;
  std::unique_ptr<win::QtWindow> window_;
};

TEST_F(QtWindowTest, SendFromAnotherThreadIsHandledOnTheWindowThreadWithItsResult) {
  procedure_.onMessage = [](win::UINT msg, win::WPARAM w, win::LPARAM l) -> win::LRESULT {
    return msg == kFirst ? static_cast<win::LRESULT>(w) + l : 0;
  };
  std::atomic<win::LRESULT> result{-1};
  std::thread sender([&] { result = window_->SendMessage(kFirst, 40, 2); });
  ASSERT_TRUE(ProcessUntil([&] { return procedure_.Saw(kFirst); }));
  sender.join();
  EXPECT_EQ(result, 42);
  const auto all = procedure_.All();
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all.front().thread, std::this_thread::get_id());
}

TEST_F(QtWindowTest, SendOnTheWindowThreadIsADirectCall) {
  procedure_.onMessage = [](win::UINT, win::WPARAM w, win::LPARAM) {
    return static_cast<win::LRESULT>(w * 2);
  };
  EXPECT_TRUE(window_->IsWindowThread());
  EXPECT_EQ(window_->SendMessage(kFirst, 21, 0), 42);
  EXPECT_EQ(procedure_.Messages(), std::vector<win::UINT>{kFirst});
}

TEST_F(QtWindowTest, WaitHandlingSentHandlesSendsWhilePostedMessagesWait) {
  ASSERT_TRUE(window_->PostMessage(kFirst + 1, 0, 0));
  std::atomic<bool> answered{false};
  std::thread sender([&] {
    window_->SendMessage(kFirst, 0, 0);
    answered = true;
    window_->Wake();
  });
  window_->WaitHandlingSent([&] { return answered.load(); });
  sender.join();
  EXPECT_EQ(procedure_.Messages(), std::vector<win::UINT>{kFirst});
  ASSERT_TRUE(ProcessUntil([&] { return procedure_.Saw(kFirst + 1); }));
  EXPECT_EQ(procedure_.Messages(), (std::vector<win::UINT>{kFirst, kFirst + 1}));
}

TEST_F(QtWindowTest, PostedMessagesArriveInTheOrderTheyWerePosted) {
  ASSERT_TRUE(window_->PostMessage(kFirst, 0, 0));
  std::thread poster([&] {
    window_->PostMessage(kFirst + 1, 0, 0);
    window_->PostMessage(kFirst + 2, 0, 0);
  });
  poster.join();
  ASSERT_TRUE(window_->PostMessage(kFirst + 3, 0, 0));
  ASSERT_TRUE(ProcessUntil([&] { return procedure_.Saw(kFirst + 3); }));
  EXPECT_EQ(procedure_.Messages(),
            (std::vector<win::UINT>{kFirst, kFirst + 1, kFirst + 2, kFirst + 3}));
}

TEST_F(QtWindowTest, TimersTickUntilKilled) {
  EXPECT_EQ(window_->SetTimer(7, 1), 7u);
  EXPECT_TRUE(window_->HasTimer(7));
  ASSERT_TRUE(ProcessUntil([&] { return procedure_.Saw(win::WM_TIMER); }));
  for (const auto& r : procedure_.All())
    if (r.msg == win::WM_TIMER) {
      EXPECT_EQ(r.wParam, 7u);
    }
  EXPECT_TRUE(window_->KillTimer(7));
  EXPECT_FALSE(window_->KillTimer(7));
  EXPECT_FALSE(window_->HasTimer(7));
}

TEST_F(QtWindowTest, ResizeTellsTheProcedureAndTheClientRect) {
  window_->show();
  window_->resize(300, 120);
  ASSERT_TRUE(ProcessUntil([&] { return window_->ClientRect() == win::Rect{0, 0, 300, 120}; }));
  bool sized = false;
  for (const auto& r : procedure_.All())
    sized = sized || (r.msg == win::WM_SIZE && r.lParam == win::MakeLParam(300, 120));
  EXPECT_TRUE(sized);
}

TEST_F(QtWindowTest, InvalidationFromAnotherThreadPaintsTheCanvasAfterAnErase) {
  gdi::Bitmap canvas(160, 90);
  procedure_.onMessage = [&](win::UINT msg, win::WPARAM, win::LPARAM) -> win::LRESULT {
    if (msg != win::WM_PAINT) return 0;
    for (int y = 0; y < 90; ++y)
      for (int x = 0; x < 160; ++x) canvas.Row(y)[x] = x < 80 ? 0x00FF0000u : 0x000000FFu;
    return 0;
  };
  window_->SetSurface(&canvas);
  window_->show();
  ASSERT_TRUE(ProcessUntil([&] { return window_->PaintCount() > 0; }));
  procedure_.Clear();
  const unsigned before = window_->PaintCount();
  std::thread painter([&] { window_->InvalidateRect(nullptr, true); });
  painter.join();
  ASSERT_TRUE(ProcessUntil([&] { return window_->PaintCount() > before; }));
  const auto all = procedure_.All();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].msg, win::WM_ERASEBKGND);
  EXPECT_EQ(all[1].msg, win::WM_PAINT);

  const QImage shown = window_->grab().toImage();
  EXPECT_EQ(shown.pixel(10, 10) & 0xFFFFFFu, 0xFF0000u);   // canvas red, 0x00RRGGBB
  EXPECT_EQ(shown.pixel(150, 80) & 0xFFFFFFu, 0x0000FFu);  // canvas blue
  window_->SetSurface(nullptr);
}

TEST_F(QtWindowTest, MouseEventsArriveAsWindowMessages) {
  procedure_.onMessage = [](win::UINT msg, win::WPARAM, win::LPARAM) -> win::LRESULT {
    return msg == win::WM_SETCURSOR ? 1 : 0;
  };
  window_->show();
  auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
                  Qt::KeyboardModifiers keys = {}) {
    QMouseEvent event(type, at, window_->mapToGlobal(at), button, held, keys);
    QApplication::sendEvent(window_.get(), &event);
  };
  send(QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
  window_->SetCapture();
  send(QEvent::MouseMove, {-4, 30}, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, {-4, 30}, Qt::LeftButton, Qt::NoButton);
  window_->ReleaseCapture();
  send(QEvent::MouseMove, {5, 6}, Qt::NoButton, Qt::NoButton, Qt::ShiftModifier);
  const QPoint global = window_->mapToGlobal(QPoint(7, 8));
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(7, 8), global);
  QApplication::sendEvent(window_.get(), &menu);
  QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), window_->mapToGlobal(QPoint(0, 0)));
  QApplication::sendEvent(window_.get(), &key);

  std::vector<std::tuple<win::UINT, win::WPARAM, win::LPARAM>> got;
  for (const auto& r : procedure_.All())
    if (r.msg != win::WM_PAINT && r.msg != win::WM_ERASEBKGND && r.msg != win::WM_SIZE)
      got.emplace_back(r.msg, r.wParam, r.lParam);
  using T = std::tuple<win::UINT, win::WPARAM, win::LPARAM>;
  const std::vector<T> expected{
      T{win::WM_LBUTTONDOWN, win::MK_LBUTTON | win::MK_CONTROL, win::MakeLParam(10, 20)},
      T{win::WM_MOUSEMOVE, win::MK_LBUTTON, win::MakeLParam(0xFFFC, 30)},
      T{win::WM_LBUTTONUP, 0, win::MakeLParam(0xFFFC, 30)},
      T{win::WM_SETCURSOR, 0, win::MakeLParam(win::HTCLIENT, win::WM_MOUSEMOVE)},
      T{win::WM_MOUSEMOVE, win::MK_SHIFT, win::MakeLParam(5, 6)},
      T{win::WM_CONTEXTMENU, 0,
        win::MakeLParam(static_cast<unsigned>(global.x()), static_cast<unsigned>(global.y()))},
      T{win::WM_CONTEXTMENU, 0, win::kKeyboardContextMenu}};
  EXPECT_EQ(got, expected);
  // The cursor is where the last mouse event was.
  EXPECT_EQ(window_->ScreenToClient(window_->CursorPosition()), (win::Point{5, 6}));
}

TEST_F(QtWindowTest, CursorShapesAndAChosenMenuItemComeBackAsACommand) {
  window_->show();
  window_->SetCursor(win::CursorShape::kSizeWE);
  EXPECT_EQ(window_->cursor().shape(), Qt::SizeHorCursor);
  window_->SetCursor(win::CursorShape::kArrow);
  EXPECT_EQ(window_->cursor().shape(), Qt::ArrowCursor);

  win::PopupMenu popup("M");
  popup.AddItem(7, "Seven");
  popup.AddSeparator();
  popup.AddItem(8, "Eight");
  popup.EnableItem(7, false);
  QStringList seen;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (QAction* a : menu->actions())
      seen << (a->isSeparator() ? QStringLiteral("-") : a->text() + (a->isEnabled() ? "" : "(off)"));
    menu->setActiveAction(menu->actions().back());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(menu, &enter);
  });
  // A menu that was never answered closes after a while, so the test fails instead of hanging.
  QTimer::singleShot(10000, window_.get(), [] {
    if (QWidget* open = QApplication::activePopupWidget()) open->close();
  });
  window_->TrackPopupMenu(popup, window_->ClientToScreen(win::Point{3, 3}));
  EXPECT_EQ(seen, (QStringList{QStringLiteral("Seven(off)"), QStringLiteral("-"), QStringLiteral("Eight")}));
  ASSERT_TRUE(ProcessUntil([&] { return procedure_.Saw(win::WM_COMMAND); }));
  for (const auto& r : procedure_.All())
    if (r.msg == win::WM_COMMAND) {
      EXPECT_EQ(r.wParam, win::MakeWParam(8, 0));
    }
}

}  // namespace
