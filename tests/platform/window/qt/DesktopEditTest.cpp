// The editor as a user works it, on Qt's off-screen platform: synthesised mouse events drag
// a divider, the context menu adds a split, keys and the wheel zoom and scroll, and the
// result comes back through the divider list written when the window closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <string>

#include "audioedit/control/ControlView.h"
#include "tests/platform/window/qt/QtTestSupport.h"
#include "tools/desktop/DesktopWindow.h"
#include "tools/desktop/DividersFile.h"

namespace {

using qt_test::ProcessUntil;

constexpr int kWaveY = 100;

QString Fixture(const char* name) {
  return QString::fromStdString(std::string(TEST_DATA_DIR) + "/audio/" + name);
}

class DesktopEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    window_.SetMessageHandler([](const QString&) {});
    window_.SetLoadEndedHandler([this] { ++loadsEnded_; });
    window_.resize(900, 460);
    window_.show();
    window_.Open(Fixture("stereo16.wav"));
    ASSERT_TRUE(ProcessUntil([&] { return loadsEnded_ > 0; }));
    ASSERT_EQ(window_.DividerLines().size(), 2);
  }

  win::QtWindow& View() { return window_.View(); }
  int ColumnOf(std::uint32_t frame) {
    return static_cast<int>(
        window_.Control().View().Wave().Mapping().ColumnOfFrame(frame));
  }
  void Move(int x, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = {}) {
    const QPointF local(x, kWaveY);
    QMouseEvent move(QEvent::MouseMove, local, View().mapToGlobal(local), Qt::NoButton, buttons,
                     modifiers);
    QApplication::sendEvent(&View(), &move);
  }
  // Picks `text` from the next popup menu once it is open; the result tells what was seen.
  void ChooseFromNextMenu(const QString& text) {
    auto* poll = new QTimer(&window_);
    QObject::connect(poll, &QTimer::timeout, [this, poll, text] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      poll->stop();
      poll->deleteLater();
      menuPosition_ = menu->pos();
      for (QAction* action : menu->actions()) {
        if (action->text() != text) continue;
        menuItemEnabled_ = action->isEnabled();
        menu->setActiveAction(action);
      }
      QTest::keyClick(menu, menuItemEnabled_ ? Qt::Key_Return : Qt::Key_Escape);
    });
    poll->start(10);
    // A menu that was never answered closes after a while, so the test fails instead of hanging.
    QTimer::singleShot(10000, &window_, [] {
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
  }
  std::vector<desktop::DividerEntry> Dividers() { return window_.Dividers(); }

  QTemporaryDir dir_;
  desktop::DesktopWindow window_;
  int loadsEnded_ = 0;
  QPoint menuPosition_;
  bool menuItemEnabled_ = false;
};

TEST_F(DesktopEditTest, DragAndContextMenuEditsComeBackThroughTheDividersFile) {
  const QString out = dir_.filePath(QStringLiteral("dividers.txt"));
  window_.SetDividersOut(out);

  // Drag the end to the left: press on it, pass the threshold, release.
  const int end = ColumnOf(240);
  QTest::mousePress(&View(), Qt::LeftButton, {}, QPoint(end, kWaveY));
  EXPECT_EQ(View().cursor().shape(), Qt::ArrowCursor);
  Move(end - 3, Qt::LeftButton);
  EXPECT_EQ(Dividers().back().frame, 240u);  // under the threshold
  Move(end - 40, Qt::LeftButton);
  QTest::mouseRelease(&View(), Qt::LeftButton, {}, QPoint(end - 40, kWaveY));
  const std::uint32_t newEnd = Dividers().back().frame;
  EXPECT_LT(newEnd, 240u);
  EXPECT_GT(newEnd, 200u);
  ASSERT_TRUE(ProcessUntil([&] {
    return window_.DividerLines().size() == 2 &&
           window_.DividerLines()[1] == QStringLiteral("End\t") + desktop::FrameTime(newEnd);
  }));

  // Hovering over the divider shows the sizing cursor.
  Move(ColumnOf(newEnd) + 1, Qt::NoButton);
  EXPECT_EQ(View().cursor().shape(), Qt::SizeHorCursor);
  Move(ColumnOf(60) + 1, Qt::NoButton);
  EXPECT_EQ(View().cursor().shape(), Qt::ArrowCursor);

  // A click on the wave sets the position; the context menu adds a split there.
  const int at = ColumnOf(100);
  QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(at, kWaveY));
  ChooseFromNextMenu(QStringLiteral("Add Split"));
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(at, kWaveY),
                         View().mapToGlobal(QPoint(at, kWaveY)));
  QApplication::sendEvent(&View(), &menu);
  EXPECT_TRUE(menuItemEnabled_);
  EXPECT_EQ(menuPosition_, View().mapToGlobal(QPoint(at, kWaveY)));
  ASSERT_TRUE(ProcessUntil([&] { return window_.DividerLines().size() == 3; }));
  EXPECT_EQ(window_.DividerLines()[1], QStringLiteral("Split\t00:01:25"));

  window_.close();
  EXPECT_TRUE(window_.DividersOutError().isEmpty()) << window_.DividersOutError().toStdString();
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(),
            "divider: 1 0\ndivider: 4 100\ndivider: 2 " + std::to_string(newEnd) + "\n");
}

TEST_F(DesktopEditTest, ShiftF10OpensTheMenuAtThePositionsColumn) {
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(ColumnOf(150), kWaveY));
  ChooseFromNextMenu(QStringLiteral("Add Index"));
  QTest::keyClick(&window_, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_TRUE(menuItemEnabled_);
  EXPECT_EQ(menuPosition_.x(), View().mapToGlobal(QPoint(ColumnOf(150), 0)).x());
  ASSERT_TRUE(ProcessUntil([&] { return window_.DividerLines().size() == 3; }));
  EXPECT_EQ(window_.DividerLines()[1], QStringLiteral("Index\t00:02:00"));
}

TEST_F(DesktopEditTest, TheWheelScrollsAndZoomsAndKeysZoom) {
  auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
    const QPointF at(200, kWaveY);
    QWheelEvent event(at, View().mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&View(), &event);
  };
  EXPECT_FALSE(window_.Command(QStringLiteral("Zoom Out"))->isEnabled());
  EXPECT_TRUE(window_.Command(QStringLiteral("Zoom In"))->isEnabled());
  wheel(120, Qt::ControlModifier);
  EXPECT_EQ(window_.Control().View().Zoom(), 2u);
  EXPECT_TRUE(window_.Command(QStringLiteral("Zoom Out"))->isEnabled());
  EXPECT_FALSE(window_.Command(QStringLiteral("Zoom In"))->isEnabled());  // one peak a column
  const std::int64_t before = window_.Control().View().Wave().ScrollPosition();
  wheel(-240, {});  // towards the end
  const std::int64_t after = window_.Control().View().Wave().ScrollPosition();
  EXPECT_GT(after, before);
  wheel(120, {});
  EXPECT_LT(window_.Control().View().Wave().ScrollPosition(), after);
  wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(window_.Control().View().Zoom(), 1u);

  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  QTest::keyClick(&window_, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(window_.Control().View().Zoom(), 2u);
  QTest::keyClick(&window_, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(window_.Control().View().Zoom(), 1u);
}

TEST_F(DesktopEditTest, ResizingKeepsTheTimeAtTheLeftEdge) {
  // At zoom 2 a column holds one peak record at this width and two at half of it.
  window_.Control().put_CurrentZoom(2);
  window_.Control().View().Wave().ScrollToColumn(50, false);
  ASSERT_EQ(window_.Control().View().Wave().Mapping().PeaksPerColumn(), 1u);
  const std::uint32_t left = window_.Control().View().Wave().Mapping().MillisecondsAtColumn(0);
  ASSERT_GT(left, 0u);
  window_.resize(450, 460);
  ASSERT_TRUE(ProcessUntil([&] { return View().width() < 460; }));
  QCoreApplication::processEvents();
  ASSERT_EQ(window_.Control().View().Wave().Mapping().PeaksPerColumn(), 2u);
  const std::uint32_t now = window_.Control().View().Wave().Mapping().MillisecondsAtColumn(0);
  EXPECT_NEAR(static_cast<double>(now), static_cast<double>(left), 20.0);
}

TEST_F(DesktopEditTest, SpacePlaysOrTellsWhyNot) {
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  QTest::keyClick(&window_, Qt::Key_Space);
  const bool playing = window_.Command(QStringLiteral("Pause"))->isEnabled();
  const bool refused = window_.StatusText().startsWith(QStringLiteral("Cannot play"));
  EXPECT_NE(playing, refused) << window_.StatusText().toStdString();
  if (playing) window_.Command(QStringLiteral("Stop"))->trigger();
}

TEST_F(DesktopEditTest, ChoosingARowSelectsItsDividerAndBringsItIntoView) {
  window_.Control().put_CurrentZoom(2);  // the end lies beyond the right edge now
  ASSERT_GT(ColumnOf(240), View().width());
  window_.DividerListWidget().setCurrentRow(1);
  com::ULONG selected = 0;
  window_.Control().get_SelectedDivider(&selected);
  EXPECT_EQ(selected, 240u);
  EXPECT_GE(ColumnOf(240), 0);
  EXPECT_LT(ColumnOf(240), View().width());
  // A click on the wave takes the selection away from the row.
  QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(ColumnOf(200) + 20, kWaveY));
  ASSERT_TRUE(ProcessUntil([&] { return window_.DividerListWidget().currentRow() == -1; }));
}

TEST_F(DesktopEditTest, ADroppedFileIsOpened) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Fixture("mono8.wav"))});
  const QPointF at(100, 100);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &drop);
  ASSERT_TRUE(ProcessUntil([&] { return loadsEnded_ > 1; }));
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("mono8.wav — Tavolex"));
}

TEST(DividersFile, ReplacesTheFileAsAWholeAndRefusesWhatIsNotAFile) {
  const QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("out.txt")).toStdString();
  {
    QFile old(QString::fromStdString(path));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old\n");
    old.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  }
  std::string error;
  ASSERT_TRUE(desktop::WriteDividersFile(path, {{1, 0}, {3, 75}, {2, 240}}, error)) << error;
  QFile written(QString::fromStdString(path));
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.readAll().toStdString(), "divider: 1 0\ndivider: 3 75\ndivider: 2 240\n");
  EXPECT_EQ(written.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

  EXPECT_FALSE(desktop::WriteDividersFile(dir.path().toStdString(), {{1, 0}}, error));
  EXPECT_NE(error.find(dir.path().toStdString()), std::string::npos) << error;
}

}  // namespace
