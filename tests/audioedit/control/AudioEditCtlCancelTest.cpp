// Cancelling from every thread a host may cancel from, and the control going away during a
// load: no deadlock, exactly one "cancelled" result, never a result after it, no file left.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "tests/audioedit/control/ControlTestSupport.h"

namespace audioedit::testing {
namespace {

std::size_t CountMsg(const std::vector<Event>& events, std::uint32_t msg, std::uint32_t param) {
  return static_cast<std::size_t>(std::count_if(
      events.begin(), events.end(), [&](const Event& e) { return e.IsMsg(msg, param); }));
}

// The index of the first event that is AEMSG_PeakError `param`, or the size.
std::size_t FirstResult(const std::vector<Event>& events, std::uint32_t param) {
  for (std::size_t i = 0; i < events.size(); ++i)
    if (events[i].IsMsg(AEMSG_PeakError, param)) return i;
  return events.size();
}

TEST(AudioEditCtlCancel, FromAnEventHandlerOnTheWorker) {
  Hosted host;
  const std::thread::id window = std::this_thread::get_id();
  std::atomic<int> cancelResult{-1};
  host.sink->onEvent = [&](const Event& e) {
    if (e.IsProgress() && e.args[0] == 1 && e.thread != window)
      cancelResult = static_cast<int>(host.control->CancelLoading());
  };
  ASSERT_EQ(host.Load(Fixture("stereo16.wav")), com::S_OK);
  ASSERT_TRUE(host.window.RunUntil(
      [&] { return host.sink->Has(AEMSG_PeakError) && host.temp.Files().empty(); },
      std::chrono::seconds(60)));
  host.sink->onEvent = nullptr;
  EXPECT_EQ(cancelResult.load(), static_cast<int>(com::S_OK));

  const auto events = host.sink->Events();
  const std::size_t cancelled = FirstResult(events, PEC_LoadingCanceled);
  ASSERT_LT(cancelled, events.size());
  EXPECT_NE(events[cancelled].thread, window);  // fired by the cancelling worker itself
  EXPECT_EQ(CountMsg(events, AEMSG_PeakError, PEC_LoadingCanceled), 1u);
  EXPECT_EQ(CountMsg(events, AEMSG_PeakError, PEC_Success), 0u);
  EXPECT_FALSE(host.sink->Has(AEMSG_EndPeakFile));
  EXPECT_EQ(host.AudioFileName(), "");

  // The control is not stuck in its cancel: the next load runs to its end.
  ASSERT_EQ(host.Load(Fixture("mono8.wav")), com::S_OK);
  ASSERT_TRUE(host.window.RunUntil([&] { return host.sink->Has(AEMSG_EndPeakFile); },
                                   std::chrono::seconds(60)));
  EXPECT_EQ(host.AudioFileName(), Fixture("mono8.wav"));
}

// Another thread cancels while the window thread handles the result: whichever wins, the
// host sees one cancel, and a success only before it, never after.
TEST(AudioEditCtlCancel, FromAnotherThreadRacingTheHandOver) {
  Hosted host;
  for (int round = 0; round < 20; ++round) {
    const std::size_t before = host.sink->Events().size();
    ASSERT_EQ(host.Load(Fixture("mono8.wav")), com::S_OK);
    std::atomic<bool> cancelReturned{false};
    std::thread canceller([&] {
      host.control->CancelLoading();
      cancelReturned = true;
      host.window.Wake();
    });
    const bool ended = host.window.RunUntil(
        [&] { return cancelReturned.load(); }, std::chrono::seconds(60));
    canceller.join();
    ASSERT_TRUE(ended) << "round " << round;
    host.window.RunPending();

    const auto all = host.sink->Events();
    const std::vector<Event> events(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    ASSERT_EQ(CountMsg(events, AEMSG_PeakError, PEC_LoadingCanceled), 1u) << "round " << round;
    const std::size_t cancelled = FirstResult(events, PEC_LoadingCanceled);
    EXPECT_GE(cancelled, FirstResult(events, PEC_Success) == events.size()
                             ? 0u
                             : FirstResult(events, PEC_Success))
        << "round " << round;
    for (std::size_t i = cancelled + 1; i < events.size(); ++i)
      EXPECT_FALSE(events[i].IsMsg(AEMSG_PeakError)) << "round " << round << " event " << i;
    EXPECT_EQ(host.AudioFileName(), "") << "round " << round;
  }
}

// The last reference goes while the worker builds: the destructor stops and joins it, no
// event arrives afterwards and the unfinished peak file is removed.
TEST(AudioEditCtlCancel, ControlReleasedDuringALoad) {
  for (int round = 0; round < 10; ++round) {
    Hosted host;
    std::atomic<bool> building{false};
    host.sink->onEvent = [&](const Event& e) {
      if (e.IsProgress()) building = true;
    };
    ASSERT_EQ(host.Load(Fixture("stereo16.wav")), com::S_OK);
    if (round % 2 == 0) {
      ASSERT_TRUE(host.window.RunUntil([&] { return building.load(); }, std::chrono::seconds(60)));
    }
    host.control->Destroy();
    host.control = nullptr;  // joins the worker
    const std::size_t count = host.sink->Events().size();
    host.window.RunPending();
    EXPECT_EQ(host.sink->Events().size(), count) << "round " << round;
    EXPECT_TRUE(host.temp.Files().empty()) << "round " << round;
  }
}

}  // namespace
}  // namespace audioedit::testing
