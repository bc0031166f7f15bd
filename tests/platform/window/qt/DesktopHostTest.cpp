#include "tools/desktop/DesktopWindow.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <set>
#include <string>

#include "platform/com/Bstr.h"
#include "tests/platform/window/qt/QtTestSupport.h"

namespace {

using qt_test::ProcessUntil;

QString Fixture(const char* name) {
  return QString::fromStdString(std::string(TEST_DATA_DIR) + "/audio/" + name);
}

class DesktopHostTest : public ::testing::Test {
 protected:
  DesktopHostTest() {
    window_.SetLoadEndedHandler([this] { ++loadsEnded_; });
    window_.show();
  }

  bool Load(const char* name) {
    const int before = loadsEnded_;
    window_.Open(Fixture(name));
    return ProcessUntil([&] { return loadsEnded_ > before; });
  }

  desktop::DesktopWindow window_;
  int loadsEnded_ = 0;
};

TEST_F(DesktopHostTest, ALoadedFileIsPaintedAndItsDividersListed) {
  ASSERT_TRUE(Load("stereo16.wav"));
  com::LONG loaded = 0;
  window_.Control().get_IsAudioFileLoaded(&loaded);
  EXPECT_EQ(loaded, 1);
  EXPECT_TRUE(window_.StatusText().contains(QStringLiteral("stereo16.wav")));
  const QStringList dividers = window_.DividerLines();
  ASSERT_EQ(dividers.size(), 2);
  EXPECT_TRUE(dividers[0].startsWith(QStringLiteral("Start")));
  EXPECT_TRUE(dividers[1].startsWith(QStringLiteral("End")));
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("Tavolex"));

  const QImage shown = window_.View().grab().toImage();
  ASSERT_FALSE(shown.isNull());
  std::set<QRgb> colours;
  for (int y = 0; y < shown.height(); y += 3)
    for (int x = 0; x < shown.width(); x += 3) colours.insert(shown.pixel(x, y));
  EXPECT_GT(colours.size(), 2u);
  EXPECT_GT(window_.View().PaintCount(), 0u);
}

TEST_F(DesktopHostTest, AFailedLoadShowsTheFileAndTheReason) {
  ASSERT_TRUE(Load("notaudio.wav"));
  com::LONG loaded = 1;
  window_.Control().get_IsAudioFileLoaded(&loaded);
  EXPECT_EQ(loaded, 0);
  com::Bstr reason;
  window_.Control().get_ErrorString(reason.Put());
  const QString status = window_.StatusText();
  EXPECT_TRUE(status.startsWith(QStringLiteral("Cannot load"))) << status.toStdString();
  EXPECT_TRUE(status.contains(QStringLiteral("notaudio.wav")));
  EXPECT_TRUE(status.contains(QString::fromStdString(reason.ToUtf8())));
  EXPECT_TRUE(window_.DividerLines().isEmpty());
}

TEST_F(DesktopHostTest, TheUsersScrollingReachesTheZoomedView) {
  ASSERT_TRUE(Load("stereo16.wav"));
  QScrollBar& bar = window_.View().ScrollBarWidget();
  EXPECT_TRUE(bar.isVisible());
  EXPECT_FALSE(bar.isEnabled());  // everything in view at zoom 1
  window_.Control().ZoomIn();
  window_.Control().ZoomIn();
  ASSERT_TRUE(bar.isEnabled());
  ASSERT_GT(bar.maximum(), 0);
  const int before = window_.View().HorizontalScrollBar().GetInfo().pos;
  bar.triggerAction(QAbstractSlider::SliderToMaximum);
  const int after = window_.View().HorizontalScrollBar().GetInfo().pos;
  EXPECT_GT(after, before);
  EXPECT_EQ(after, window_.View().HorizontalScrollBar().HighestPosition());
  EXPECT_EQ(bar.value(), after);
}

}  // namespace
