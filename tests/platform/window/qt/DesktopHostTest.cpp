#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QKeySequence>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "platform/com/Bstr.h"
#include "tests/platform/window/qt/QtTestSupport.h"
#include "tools/desktop/DesktopWindow.h"

namespace {

using qt_test::ProcessUntil;

QString Fixture(const char* name) {
  return QString::fromStdString(std::string(TEST_DATA_DIR) + "/audio/" + name);
}

class DesktopHostTest : public ::testing::Test {
 protected:
  DesktopHostTest() {
    window_.SetLoadEndedHandler([this] { ++loadsEnded_; });
    window_.SetMessageHandler([this](const QString& text) { messages_ << text; });
    window_.show();
  }

  bool Load(const char* name) {
    const int before = loadsEnded_;
    window_.Open(Fixture(name));
    return ProcessUntil([&] { return loadsEnded_ > before; });
  }

  desktop::DesktopWindow window_;
  int loadsEnded_ = 0;
  QStringList messages_;
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
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("stereo16.wav — Tavolex"));
  EXPECT_EQ(dividers[1], QStringLiteral("End\t00:03:15"));  // 240 frames as mm:ss:ff
  EXPECT_TRUE(window_.StatusText().contains(QStringLiteral("00:03:15 (mm:ss:ff)")))
      << window_.StatusText().toStdString();

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
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(messages_[0], status);
}

TEST_F(DesktopHostTest, AFailedOpenKeepsTheFileThatWasLoaded) {
  ASSERT_TRUE(Load("stereo16.wav"));
  com::ULONG added = 9;
  window_.Control().AddDivider(100, audioedit::DIV_Index, &added);
  ASSERT_EQ(added, 0u);
  ASSERT_TRUE(Load("notaudio.wav"));
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].contains(QStringLiteral("notaudio.wav")));
  // The earlier file comes back with its dividers.
  ASSERT_TRUE(ProcessUntil([&] { return window_.DividerLines().size() == 3; }));
  com::LONG loaded = 0;
  window_.Control().get_IsAudioFileLoaded(&loaded);
  EXPECT_EQ(loaded, 1);
  com::Bstr name;
  window_.Control().get_AudioFileName(name.Put());
  EXPECT_EQ(QString::fromStdString(name.ToUtf8()), Fixture("stereo16.wav"));
  EXPECT_EQ(window_.DividerLines()[1], QStringLiteral("Index\t00:01:25"));
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("stereo16.wav — Tavolex"));
  EXPECT_TRUE(window_.StatusText().startsWith(QStringLiteral("Cannot load")));
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

namespace {

// A stereo 16-bit 44.1 kHz WAV of `seconds` of a tone, long enough for a build with several
// progress steps.
QString WriteLongWav(const QTemporaryDir& dir, int seconds) {
  const QString path = dir.filePath(QStringLiteral("long.wav"));
  const std::uint32_t frames = 44100u * static_cast<std::uint32_t>(seconds);
  const std::uint32_t bytes = frames * 4;
  QByteArray data;
  auto put32 = [&](std::uint32_t v) {
    for (int k = 0; k < 4; ++k) data.append(static_cast<char>(v >> (8 * k)));
  };
  auto put16 = [&](std::uint16_t v) {
    data.append(static_cast<char>(v));
    data.append(static_cast<char>(v >> 8));
  };
  data.append("RIFF");
  put32(36 + bytes);
  data.append("WAVEfmt ");
  put32(16);
  put16(1);
  put16(2);
  put32(44100);
  put32(44100 * 4);
  put16(4);
  put16(16);
  data.append("data");
  put32(bytes);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const auto v = static_cast<std::uint16_t>(
        static_cast<std::int16_t>(8000 * std::sin(2 * 3.14159265358979 * 440.0 * i / 44100.0)));
    put16(v);
    put16(v);
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) return {};
  return path;
}

// Closing the window while the worker builds a peak file (and may be blocked sending its
// result to the window) cancels the load without a deadlock.
TEST(DesktopHostClosing, ClosingDuringALoadCancelsIt) {
  const QTemporaryDir dir;
  const QString audio = WriteLongWav(dir, 30);
  ASSERT_FALSE(audio.isEmpty());
  auto window = std::make_unique<desktop::DesktopWindow>();
  window->SetMessageHandler([](const QString&) {});
  bool ended = false;
  window->SetLoadEndedHandler([&] { ended = true; });
  window->show();
  window->Open(audio);
  ASSERT_TRUE(ProcessUntil(
      [&] { return ended || window->StatusText().startsWith(QStringLiteral("Building")); }));
  window.reset();
  SUCCEED();
}

TEST(DesktopHostProgress, TheBuildsProgressIsShownAsItComes) {
  const QTemporaryDir dir;
  const QString audio = WriteLongWav(dir, 30);
  ASSERT_FALSE(audio.isEmpty());
  desktop::DesktopWindow window;
  window.SetMessageHandler([](const QString&) {});
  bool ended = false;
  QStringList seen;
  window.SetLoadEndedHandler([&] { ended = true; });
  window.show();
  window.Open(audio);
  ASSERT_TRUE(ProcessUntil([&] {
    if (seen.isEmpty() || seen.back() != window.StatusText()) seen << window.StatusText();
    return ended;
  }));
  ASSERT_GE(seen.size(), 2);
  EXPECT_TRUE(seen.front().startsWith(QStringLiteral("Loading")));
  EXPECT_TRUE(seen.back().startsWith(QStringLiteral("long.wav"))) << seen.back().toStdString();
  bool progress = false;
  for (const QString& s : seen) progress = progress || s.startsWith(QStringLiteral("Building"));
  EXPECT_TRUE(progress);
}

TEST(DesktopHostReplacing, OpeningAnotherFileDuringALoadShowsOnlyTheNewOne) {
  const QTemporaryDir dir;
  const QString audio = WriteLongWav(dir, 30);
  ASSERT_FALSE(audio.isEmpty());
  desktop::DesktopWindow window;
  window.SetMessageHandler([](const QString&) {});
  int ended = 0;
  window.SetLoadEndedHandler([&] { ++ended; });
  window.show();
  window.Open(audio);
  ASSERT_TRUE(
      ProcessUntil([&] { return window.StatusText().startsWith(QStringLiteral("Building")); }));
  window.Open(Fixture("stereo16.wav"));
  ASSERT_TRUE(ProcessUntil([&] { return ended > 0; }));
  EXPECT_EQ(ended, 1);
  EXPECT_TRUE(window.StatusText().startsWith(QStringLiteral("stereo16.wav")))
      << window.StatusText().toStdString();
  const QStringList dividers = window.DividerLines();
  ASSERT_EQ(dividers.size(), 2);
  EXPECT_EQ(dividers[1], QStringLiteral("End\t00:03:15"));
}

TEST(DesktopHostCancel, EscapeCancelsARunningLoad) {
  const QTemporaryDir dir;
  const QString audio = WriteLongWav(dir, 60);
  ASSERT_FALSE(audio.isEmpty());
  desktop::DesktopWindow window;
  window.SetMessageHandler([](const QString&) {});
  bool ended = false;
  window.SetLoadEndedHandler([&] { ended = true; });
  window.show();
  window.Open(audio);
  ASSERT_TRUE(window.Command(QStringLiteral("Cancel Loading"))->isEnabled());
  EXPECT_EQ(window.Command(QStringLiteral("Cancel Loading"))->shortcut(), QKeySequence(Qt::Key_Escape));
  ASSERT_TRUE(ProcessUntil(
      [&] { return ended || window.StatusText().startsWith(QStringLiteral("Building")); }));
  if (ended) GTEST_SKIP() << "the load ended before it could be cancelled";
  window.Command(QStringLiteral("Cancel Loading"))->trigger();
  ASSERT_TRUE(ProcessUntil([&] { return ended; }));
  EXPECT_TRUE(window.StatusText().contains(QStringLiteral("cancelled")))
      << window.StatusText().toStdString();
  EXPECT_FALSE(window.Command(QStringLiteral("Cancel Loading"))->isEnabled());
}

}  // namespace
