#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <vector>

#include "platform/window/qt/QtWindow.h"
#include "tests/platform/window/qt/QtTestSupport.h"
#include "tests/platform/window/qt/RecordingProcedure.h"

namespace {

using qt_test::RecordingProcedure;

struct Scroll {
  unsigned request;
  unsigned thumb;
  friend bool operator==(const Scroll&, const Scroll&) = default;
};

class QtScrollBarTest : public ::testing::Test {
 protected:
  QtScrollBarTest() {
    window_.resize(400, 100);
    window_.SetProcedure(&procedure_);
    // Like a view: page and line requests move the position, thumb requests follow the track.
    procedure_.onMessage = [this](win::UINT msg, win::WPARAM w, win::LPARAM) -> win::LRESULT {
      if (msg != win::WM_HSCROLL) return 0;
      win::ScrollBar& bar = window_.HorizontalScrollBar();
      const win::ScrollInfo info = bar.GetInfo();
      win::ScrollInfo next;
      switch (win::LowWord(w)) {
        case win::SB_PAGERIGHT:
          next.pos = info.pos + static_cast<int>(info.page);
          break;
        case win::SB_PAGELEFT:
          next.pos = info.pos - static_cast<int>(info.page);
          break;
        case win::SB_LINERIGHT:
          next.pos = info.pos + 1;
          break;
        case win::SB_LINELEFT:
          next.pos = info.pos - 1;
          break;
        case win::SB_LEFT:
          next.pos = info.min;
          break;
        case win::SB_RIGHT:
          next.pos = bar.HighestPosition();
          break;
        case win::SB_THUMBTRACK:
        case win::SB_THUMBPOSITION:
          next.pos = info.trackPos;
          break;
        default:
          return 0;
      }
      bar.SetInfo(next, win::SIF_POS);
      return 0;
    };
    win::ScrollBar& bar = window_.HorizontalScrollBar();
    bar.SetInfo(win::ScrollInfo{0, 99, 10, 30, 0}, win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS);
    bar.Move(win::Rect{0, 75, 400, 100});
    bar.Show(true);
    bar.Enable(true);
    window_.show();
  }
  ~QtScrollBarTest() override { window_.SetProcedure(nullptr); }

  std::vector<Scroll> Requests() const {
    std::vector<Scroll> out;
    for (const auto& r : procedure_.All())
      if (r.msg == win::WM_HSCROLL)
        out.push_back(Scroll{win::LowWord(r.wParam), win::HighWord(r.wParam)});
    return out;
  }

  void Mouse(QEvent::Type type, QPoint at) {
    QScrollBar& widget = window_.ScrollBarWidget();
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
  }

  RecordingProcedure procedure_;
  win::QtWindow window_;
};

TEST_F(QtScrollBarTest, TheWidgetShowsTheNumbersPlacementAndState) {
  QScrollBar& widget = window_.ScrollBarWidget();
  EXPECT_EQ(widget.minimum(), 0);
  EXPECT_EQ(widget.maximum(), 90);  // the highest position: 99 - (10 - 1)
  EXPECT_EQ(widget.pageStep(), 10);
  EXPECT_EQ(widget.value(), 30);
  EXPECT_EQ(widget.geometry(), QRect(0, 75, 400, 25));
  EXPECT_TRUE(widget.isVisible());
  EXPECT_TRUE(widget.isEnabled());

  window_.HorizontalScrollBar().SetInfo(win::ScrollInfo{0, 0, 0, 500, 0}, win::SIF_POS);
  EXPECT_EQ(widget.value(), 90);  // clamped by the model
  window_.HorizontalScrollBar().Enable(false);
  window_.HorizontalScrollBar().Show(false);
  EXPECT_FALSE(widget.isEnabled());
  EXPECT_FALSE(widget.isVisible());
}

TEST_F(QtScrollBarTest, EachSliderActionArrivesAsItsScrollRequest) {
  const struct {
    QAbstractSlider::SliderAction action;
    unsigned request;
    int position;  // where the procedure moved the bar
  } cases[] = {
      {QAbstractSlider::SliderPageStepAdd, win::SB_PAGERIGHT, 40},
      {QAbstractSlider::SliderSingleStepAdd, win::SB_LINERIGHT, 41},
      {QAbstractSlider::SliderSingleStepSub, win::SB_LINELEFT, 40},
      {QAbstractSlider::SliderPageStepSub, win::SB_PAGELEFT, 30},
      {QAbstractSlider::SliderToMaximum, win::SB_RIGHT, 90},
      {QAbstractSlider::SliderToMinimum, win::SB_LEFT, 0},
  };
  QScrollBar& widget = window_.ScrollBarWidget();
  for (const auto& c : cases) {
    procedure_.Clear();
    widget.triggerAction(c.action);
    EXPECT_EQ(Requests(), (std::vector<Scroll>{{c.request, 0}})) << c.action;
    EXPECT_EQ(window_.HorizontalScrollBar().GetInfo().pos, c.position) << c.action;
    EXPECT_EQ(widget.value(), c.position) << c.action;
  }
}

TEST_F(QtScrollBarTest, TheBarKeepsThePositionTheWindowChose) {
  procedure_.onMessage = nullptr;  // a window that ignores scrolling
  QScrollBar& widget = window_.ScrollBarWidget();
  widget.triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(Requests(), (std::vector<Scroll>{{win::SB_PAGERIGHT, 0}}));
  EXPECT_EQ(widget.value(), 30);
}

TEST_F(QtScrollBarTest, DraggingTheThumbTracksThenEnds) {
  QScrollBar& widget = window_.ScrollBarWidget();
  widget.setSliderDown(true);
  widget.setSliderPosition(55);
  EXPECT_EQ(window_.HorizontalScrollBar().GetInfo().trackPos, 55);
  Mouse(QEvent::MouseButtonRelease, QPoint(200, 12));
  EXPECT_EQ(Requests(),
            (std::vector<Scroll>{
                {win::SB_THUMBTRACK, 55}, {win::SB_THUMBPOSITION, 55}, {win::SB_ENDSCROLL, 0}}));
  EXPECT_EQ(window_.HorizontalScrollBar().GetInfo().pos, 55);
}

TEST_F(QtScrollBarTest, AClickInTheTroughPagesAndEnds) {
  // Right of the thumb (at 30 of 0..90 the thumb sits in the left half).
  Mouse(QEvent::MouseButtonPress, QPoint(360, 12));
  Mouse(QEvent::MouseButtonRelease, QPoint(360, 12));
  EXPECT_EQ(Requests(), (std::vector<Scroll>{{win::SB_PAGERIGHT, 0}, {win::SB_ENDSCROLL, 0}}));
  EXPECT_EQ(window_.ScrollBarWidget().value(), 40);
}

}  // namespace
