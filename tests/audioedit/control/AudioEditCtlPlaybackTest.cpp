// Playback of the control against a recording graph: what reaches the graph, in which order,
// and what the host sees. Timer ticks are delivered by the test (FireTimer), the end of the
// stream by the graph's posted notification.
#include <gtest/gtest.h>

#include "audioedit/control/ControlMessages.h"
#include "audioedit/control/ControlView.h"
#include "tests/audioedit/control/ControlTestSupport.h"
#include "tests/audioedit/control/RecordingGraph.h"

namespace audioedit::testing {
namespace {

using Calls = std::vector<std::string>;
const std::string kAbsoluteNoStop = " 1 null 0";  // absolute, no stop position

std::string SetPositionsCall(long long units) {
  return "SetPositions " + std::to_string(units) + kAbsoluteNoStop;
}

class ControlPlayback : public ::testing::Test {
 protected:
  void SetUpGraph(const std::string& fixture) {
    graph_ = com::MakeObject<RecordingGraph>();
    // The test keeps the graph alive; the factory holds no reference of its own.
    host_.control->SetGraphFactory([graph = graph_.Get()](media::IGraphBuilder** out) {
      return graph->QueryInterface(media::IID_IGraphBuilder, reinterpret_cast<void**>(out));
    });
    Load(fixture);
  }
  void Load(const std::string& fixture) {
    const std::size_t before = host_.FinishedLoads();
    ASSERT_EQ(host_.Load(Fixture(fixture.c_str())), com::S_OK);
    ASSERT_TRUE(host_.RunUntilLoaded(before + 1));
    ASSERT_EQ(host_.control->State().ErrorCode(), 0);
  }
  // Events the host received after the first `from`.
  std::vector<Event> EventsFrom(std::size_t from) const {
    const auto all = host_.sink->Events();
    return std::vector<Event>(all.begin() + static_cast<long>(std::min(from, all.size())),
                              all.end());
  }
  std::uint32_t CurrentFrame() {
    com::ULONG frame = 0;
    EXPECT_EQ(host_.control->get_CurrentFrame(&frame), com::S_OK);
    return frame;
  }
  bool Tick() { return host_.window.FireTimer(kPlaybackTimerId); }
  // 200 pixels wide: a 3.2-second file spans several views at zoom 2 and 4.
  void NarrowWindow() {
    host_.window.Resize(200, 200);
    host_.window.RunPending();
  }

  Hosted host_;
  com::ComPtr<RecordingGraph> graph_;
};

TEST_F(ControlPlayback, SetUpAtTheEndOfALoadBuildsTheGraphForTheFile) {
  SetUpGraph("stereo16.wav");
  EXPECT_EQ(graph_->Calls(),
            (Calls{"QueryInterface IMediaControl", "QueryInterface IMediaSeeking",
                   "QueryInterface IMediaEventEx", "QueryInterface IBasicAudio",
                   "RenderFile " + Fixture("stereo16.wav"), "SetNotifyWindow window 32769 0"}));
  EXPECT_EQ(graph_->NotifyWindow(), &host_.window);
  EXPECT_EQ(host_.control->PlaybackSetUpResult(), com::S_OK);
  EXPECT_EQ(host_.control->PlaybackStateNow(), kPlaybackStopped);
}

TEST_F(ControlPlayback, PlayStartsAtTheCurrentFrameAsA64BitPosition) {
  SetUpGraph("stereo16.wav");
  graph_->ClearCalls();
  EXPECT_EQ(host_.control->AudioPlay(), com::S_OK);  // after a load: from 0
  EXPECT_EQ(graph_->Calls(), (Calls{"SetTimeFormat media time", SetPositionsCall(0), "Run"}));
  EXPECT_TRUE(host_.window.HasTimer(kPlaybackTimerId));
  EXPECT_EQ(host_.window.TimerPeriod(kPlaybackTimerId), 200u);
  EXPECT_EQ(host_.control->PlaybackStateNow(), kPlaybackRunning);

  // While running, play again from the frame the user picked: 2 s in.
  graph_->ClearCalls();
  ASSERT_EQ(host_.control->put_CurrentFrame(150), com::S_OK);
  EXPECT_EQ(host_.control->AudioPlay(), com::S_OK);
  EXPECT_EQ(graph_->Calls(),
            (Calls{"SetTimeFormat media time", SetPositionsCall(20'000'000), "Run"}));

  // Far into a long file: 60 minutes is 270000 frames, 36,000,000,000 units of 100 ns.
  graph_->ClearCalls();
  ASSERT_EQ(host_.control->put_CurrentFrame(270000), com::S_OK);
  EXPECT_EQ(host_.control->AudioPlay(), com::S_OK);
  EXPECT_TRUE(graph_->HasCall(SetPositionsCall(36'000'000'000)));

  // The frame a click marked (the mark shows it): 4 s in.
  graph_->ClearCalls();
  host_.control->Dividers().ShowCurrentMark(300);
  EXPECT_EQ(host_.control->AudioPlay(), com::S_OK);
  EXPECT_TRUE(graph_->HasCall(SetPositionsCall(40'000'000)));

  // A frame whose time is not whole milliseconds goes through whole milliseconds: 1 frame.
  graph_->ClearCalls();
  ASSERT_EQ(host_.control->put_CurrentFrame(1), com::S_OK);
  EXPECT_EQ(host_.control->AudioPlay(), com::S_OK);
  EXPECT_TRUE(graph_->HasCall(SetPositionsCall(130'000)));  // 13 ms
}

TEST_F(ControlPlayback, PauseTwiceResumesAndPauseWhileStoppedDoesNothing) {
  SetUpGraph("stereo16.wav");
  graph_->ClearCalls();
  EXPECT_EQ(host_.control->AudioPause(), com::S_OK);  // stopped: nothing
  EXPECT_TRUE(graph_->Calls().empty());
  EXPECT_FALSE(host_.window.HasTimer(kPlaybackTimerId));

  ASSERT_EQ(host_.control->AudioPlay(), com::S_OK);
  graph_->ClearCalls();
  EXPECT_EQ(host_.control->AudioPause(), com::S_OK);
  EXPECT_EQ(host_.control->PlaybackStateNow(), kPlaybackPaused);
  EXPECT_FALSE(host_.window.HasTimer(kPlaybackTimerId));
  EXPECT_EQ(host_.control->AudioPause(), com::S_OK);
  EXPECT_EQ(host_.control->PlaybackStateNow(), kPlaybackRunning);
  EXPECT_TRUE(host_.window.HasTimer(kPlaybackTimerId));
  EXPECT_EQ(graph_->Calls(), (Calls{"Pause", "Run"}));  // resumed where it was, no seek
}

TEST_F(ControlPlayback, AFailedRunKeepsTheStateButStartsTheTimer) {
  SetUpGraph("stereo16.wav");
  graph_->runResult = com::E_FAIL;
  EXPECT_EQ(host_.control->AudioPlay(), com::E_FAIL);
  EXPECT_EQ(host_.control->PlaybackStateNow(), kPlaybackStopped);
  EXPECT_TRUE(host_.window.HasTimer(kPlaybackTimerId));
}

TEST_F(ControlPlayback, TicksReportWholeMillisecondsAndMoveTheMark) {
  SetUpGraph("stereo16.wav");
  ASSERT_EQ(host_.control->AudioPlay(), com::S_OK);
  const std::size_t before = host_.sink->Events().size();
  graph_->position = 12'345'678;  // 1234.5678 ms
  ASSERT_TRUE(Tick());
  const auto events = EventsFrom(before);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_TRUE(events[0].IsMsg(AEMSG_CurrentTimeMs, 1234));
  EXPECT_EQ(CurrentFrame(), 1234u * 75 / 1000);  // 92, and the mark shows
  EXPECT_TRUE(host_.control->Dividers().CurrentMarkVisible());
}

TEST_F(ControlPlayback, StopReturnsToFrameZeroAndHidesTheMarkWhereTheViewIs) {
  SetUpGraph("stereo16.wav");
  NarrowWindow();
  ASSERT_EQ(host_.control->ZoomIn(), com::S_OK);
  ASSERT_EQ(host_.control->put_CurrentFrame(30), com::S_OK);
  ASSERT_EQ(host_.control->AudioPlay(), com::S_OK);
  graph_->position = 25'000'000;  // 2.5 s: off the first page at zoom 2
  ASSERT_TRUE(Tick());
  const std::int64_t scrolled = host_.control->View().Wave().ScrollPosition();
  ASSERT_GT(scrolled, 0);
  graph_->ClearCalls();
  EXPECT_EQ(host_.control->AudioStop(), com::S_OK);
  EXPECT_EQ(graph_->Calls(), (Calls{"Stop", "GetState 500", SetPositionsCall(0), "StopWhenReady"}));
  EXPECT_EQ(CurrentFrame(), 0u);
  EXPECT_FALSE(host_.control->Dividers().CurrentMarkVisible());
  EXPECT_EQ(host_.control->Dividers().CurrentFrameValue(), 0u);
  EXPECT_EQ(host_.control->View().Wave().ScrollPosition(), scrolled);
  EXPECT_FALSE(host_.window.HasTimer(kPlaybackTimerId));
  EXPECT_EQ(host_.control->PlaybackStateNow(), kPlaybackStopped);
}

TEST_F(ControlPlayback, EndOfStreamStopsThenReportsStoppedAndUpdateDividers) {
  SetUpGraph("stereo16.wav");
  ASSERT_EQ(host_.control->AudioPlay(), com::S_OK);
  graph_->position = 31'000'000;
  ASSERT_TRUE(Tick());
  ASSERT_TRUE(host_.control->Dividers().CurrentMarkVisible());
  const std::size_t before = host_.sink->Events().size();
  graph_->ClearCalls();
  graph_->Complete();
  ASSERT_TRUE(host_.window.RunUntil([&] { return EventsFrom(before).size() >= 2; },
                                    std::chrono::seconds(10)));
  host_.window.RunPending();
  const auto events = EventsFrom(before);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(events[0].IsMsg(AEMSG_State_Stopped, 0));
  EXPECT_TRUE(events[1].IsMsg(AEMSG_UpdateDividers, 0));
  EXPECT_EQ(graph_->Calls(), (Calls{"Stop", "GetState 500", SetPositionsCall(0), "StopWhenReady",
                                    "FreeEventParams 1"}));
  EXPECT_FALSE(host_.control->Dividers().CurrentMarkVisible());
  EXPECT_FALSE(host_.window.HasTimer(kPlaybackTimerId));
}

// The playing position pages the view along: when it leaves the view, its column becomes
// the first visible one (or the view stops at its last page).
TEST_F(ControlPlayback, ThePositionPagesTheViewAlongAtZoomTwoAndAbove) {
  SetUpGraph("stereo16.wav");
  NarrowWindow();
  ASSERT_EQ(host_.control->ZoomIn(), com::S_OK);
  ASSERT_EQ(host_.control->ZoomIn(), com::S_OK);  // zoom 4: several pages
  ASSERT_EQ(host_.control->AudioPlay(), com::S_OK);
  view::WaveView& wave = host_.control->View().Wave();
  const int right = wave.Layout().Right();
  ASSERT_EQ(wave.ScrollPosition(), 0);
  host_.window.RunPending();

  // Within the view: the mark moves, the view stays.
  const std::uint32_t frameInView = wave.Mapping().FrameAtX(right / 2, 0);
  graph_->position = static_cast<long long>(frameInView) * 1000 / 75 * 10000;
  ASSERT_TRUE(Tick());
  EXPECT_EQ(wave.ScrollPosition(), 0);
  EXPECT_FALSE(host_.window.PaintPending());  // a quick repaint only

  // Past the right edge: a page further, the position at the left edge.
  graph_->position = 15'000'000;  // 1.5 s
  const std::uint32_t frame = 1500 * 75 / 1000;
  const std::uint64_t column = wave.Mapping().AbsoluteColumnOfFrame(frame);
  ASSERT_GT(column, static_cast<std::uint64_t>(right));
  ASSERT_LT(column,
            static_cast<std::uint64_t>(host_.window.HorizontalScrollBar().HighestPosition()));
  ASSERT_TRUE(Tick());
  EXPECT_EQ(wave.ScrollPosition(), static_cast<std::int64_t>(column));
  EXPECT_TRUE(host_.window.PaintPending());  // a full paint follows

  // At zoom 2 the first jump already reaches the last page.
  ASSERT_EQ(host_.control->AudioStop(), com::S_OK);  // back to frame 0
  ASSERT_EQ(host_.control->ZoomOutFull(), com::S_OK);
  ASSERT_EQ(host_.control->ZoomIn(), com::S_OK);
  ASSERT_EQ(host_.control->AudioPlay(), com::S_OK);
  ASSERT_EQ(wave.ScrollPosition(), 0);
  graph_->position = 25'000'000;  // 2.5 s
  ASSERT_TRUE(Tick());
  EXPECT_GT(wave.ScrollPosition(), 0);
  EXPECT_EQ(wave.ScrollPosition(), host_.window.HorizontalScrollBar().HighestPosition());
}

TEST_F(ControlPlayback, AFailedSetUpLeavesNoGraphAndPlayAnswersNoInterface) {
  for (const std::string& failure :
       {std::string("factory"), std::string("render"), std::string("events")}) {
    SCOPED_TRACE(failure);
    graph_ = com::MakeObject<RecordingGraph>();
    if (failure == "render") graph_->renderResult = media::VFW_E_UNSUPPORTED_STREAM;
    if (failure == "events") graph_->missing.insert("IMediaEventEx");
    host_.control->SetGraphFactory([graph = graph_.Get(), failure](media::IGraphBuilder** out) {
      if (failure == "factory") return com::REGDB_E_CLASSNOTREG;
      return graph->QueryInterface(media::IID_IGraphBuilder, reinterpret_cast<void**>(out));
    });
    Load("stereo16.wav");
    EXPECT_TRUE(com::FAILED(host_.control->PlaybackSetUpResult()));
    EXPECT_FALSE(host_.control->PlaybackSetUpError().empty());
    EXPECT_EQ(graph_->OtherReferences(), 0u);  // nothing of the graph is held
    EXPECT_EQ(host_.control->AudioPlay(), com::E_NOINTERFACE);
    EXPECT_TRUE(host_.window.HasTimer(kPlaybackTimerId));
    const std::size_t before = host_.sink->Events().size();
    ASSERT_TRUE(Tick());
    EXPECT_TRUE(EventsFrom(before).empty());  // the timer reports nothing
    EXPECT_EQ(host_.control->AudioPause(), com::S_OK);
    EXPECT_EQ(host_.control->AudioStop(), com::S_OK);
    EXPECT_FALSE(host_.window.HasTimer(kPlaybackTimerId));
  }
}

TEST_F(ControlPlayback, TeardownStopsReleasesAndSilencesTheGraph) {
  SetUpGraph("stereo16.wav");
  ASSERT_EQ(host_.control->AudioPlay(), com::S_OK);
  graph_->ClearCalls();
  host_.control->Destroy();
  EXPECT_EQ(graph_->Calls(), (Calls{"SetNotifyWindow none 0 0", "Stop"}));
  EXPECT_EQ(graph_->NotifyWindow(), nullptr);
  EXPECT_EQ(graph_->OtherReferences(), 0u);
  EXPECT_FALSE(host_.window.HasTimer(kPlaybackTimerId));
}

TEST_F(ControlPlayback, ANewLoadReplacesTheGraph) {
  SetUpGraph("stereo16.wav");
  const com::ComPtr<RecordingGraph> first = graph_;
  ASSERT_EQ(host_.control->AudioPlay(), com::S_OK);
  SetUpGraph("mono8.wav");
  EXPECT_EQ(first->OtherReferences(), 0u);
  EXPECT_TRUE(first->HasCall("Stop"));
  EXPECT_TRUE(graph_->HasCall("RenderFile " + Fixture("mono8.wav")));
  EXPECT_EQ(host_.control->PlaybackStateNow(), kPlaybackStopped);
}

TEST(ControlPlaybackWithoutFile, MembersAnswerFalse) {
  Hosted host;
  EXPECT_EQ(host.control->AudioPlay(), com::S_FALSE);
  EXPECT_EQ(host.control->AudioPause(), com::S_FALSE);
  EXPECT_EQ(host.control->AudioStop(), com::S_FALSE);
  EXPECT_FALSE(host.window.HasTimer(kPlaybackTimerId));
}

}  // namespace
}  // namespace audioedit::testing
