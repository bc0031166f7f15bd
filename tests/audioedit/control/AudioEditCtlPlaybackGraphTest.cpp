// Playback of the control through the registered filter graph, on the fake sink that plays
// in real time: every wait is for the control's own events, with a time limit.
#include <gtest/gtest.h>

#include "platform/registry/Activation.h"
#include "tests/audioedit/control/ControlTestSupport.h"
#include "tests/platform/media/PlaybackTestSupport.h"

namespace audioedit::testing {
namespace {

std::size_t CountMsg(const std::vector<Event>& events, std::uint32_t msg) {
  std::size_t n = 0;
  for (const Event& e : events) n += e.IsMsg(msg) ? 1 : 0;
  return n;
}

TEST(ControlPlaybackOnTheFilterGraph, PlaysFromTheCurrentFrameThroughAPauseToTheEnd) {
  testplayback::UseTestSink();
  TempDir registryDir;
  testplayback::RegisteredFilterGraph registration(registryDir.Path() / "registry");
  ASSERT_TRUE(registration.Registered());
  com::ApartmentScope apartment;
  ASSERT_TRUE(apartment.Ok());
  Hosted host;
  ASSERT_EQ(host.Load(Fixture("stereo16.wav")), com::S_OK);
  ASSERT_TRUE(host.RunUntilLoaded());
  ASSERT_EQ(host.control->PlaybackSetUpResult(), com::S_OK) << host.control->PlaybackSetUpError();

  ASSERT_EQ(host.control->put_CurrentFrame(150), com::S_OK);  // 2 s into 3.2 s
  const std::size_t start = host.sink->Events().size();
  ASSERT_EQ(host.control->AudioPlay(), com::S_OK);
  auto since = [&] {
    const auto all = host.sink->Events();
    return std::vector<Event>(all.begin() + static_cast<long>(start), all.end());
  };
  ASSERT_TRUE(host.window.RunUntil([&] { return CountMsg(since(), AEMSG_CurrentTimeMs) >= 1; },
                                   std::chrono::seconds(20)));
  ASSERT_EQ(host.control->AudioPause(), com::S_OK);
  EXPECT_EQ(host.control->PlaybackStateNow(), kPlaybackPaused);
  ASSERT_EQ(host.control->AudioPause(), com::S_OK);
  EXPECT_EQ(host.control->PlaybackStateNow(), kPlaybackRunning);
  ASSERT_TRUE(host.window.RunUntil([&] { return CountMsg(since(), AEMSG_UpdateDividers) >= 1; },
                                   std::chrono::seconds(20)))
      << "the end of the stream was not reported";
  host.window.RunPending();

  const auto events = since();
  ASSERT_GE(events.size(), 3u);
  EXPECT_TRUE(events[events.size() - 2].IsMsg(AEMSG_State_Stopped, 0));
  EXPECT_TRUE(events.back().IsMsg(AEMSG_UpdateDividers, 0));
  std::uint32_t last = 2000;
  for (std::size_t k = 0; k + 2 < events.size(); ++k) {
    ASSERT_TRUE(events[k].IsMsg(AEMSG_CurrentTimeMs)) << k;
    const std::uint32_t ms = events[k].args[1];
    EXPECT_GE(ms, last);  // from the start frame on, never backwards
    EXPECT_LE(ms, 3200u);
    last = ms;
  }
  com::ULONG frame = 1;
  EXPECT_EQ(host.control->get_CurrentFrame(&frame), com::S_OK);
  EXPECT_EQ(frame, 0u);
  EXPECT_EQ(host.control->PlaybackStateNow(), kPlaybackStopped);
  host.control->Destroy();
}

TEST(ControlPlaybackOnTheFilterGraph, WithoutARegisteredGraphPlayFailsWithTheReason) {
  TempDir registryDir;
  ::setenv("COM_REGISTRY", (registryDir.Path() / "registry").c_str(), 1);
  com::ApartmentScope apartment;
  Hosted host;
  ASSERT_EQ(host.Load(Fixture("stereo16.wav")), com::S_OK);
  ASSERT_TRUE(host.RunUntilLoaded());
  EXPECT_EQ(host.control->State().ErrorCode(), 0);  // the load itself succeeded
  EXPECT_EQ(host.control->PlaybackSetUpResult(), com::REGDB_E_CLASSNOTREG);
  EXPECT_NE(host.control->PlaybackSetUpError().find("regsvr"), std::string::npos);
  EXPECT_EQ(host.control->AudioPlay(), com::E_NOINTERFACE);
  ::unsetenv("COM_REGISTRY");
}

}  // namespace
}  // namespace audioedit::testing
