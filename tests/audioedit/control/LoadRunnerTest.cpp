#include "audioedit/control/LoadRunner.h"

#include <gtest/gtest.h>

#include <chrono>

#include <condition_variable>
#include <mutex>
#include <vector>

namespace audioedit {
namespace {

TEST(LoadRunner, JobsRunOneAfterAnotherInTheOrderStarted) {
  std::mutex mutex;
  std::vector<int> order;
  {
    LoadRunner runner;
    for (int i = 0; i < 5; ++i)
      ASSERT_TRUE(runner.Start([&, i](const CancelToken&) {
        std::lock_guard lock(mutex);
        order.push_back(i);
      }));
  }
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(LoadRunner, CancelStopsEveryStartedJobButNotLaterOnes) {
  std::mutex mutex;
  std::condition_variable changed;
  bool release = false;
  std::vector<bool> cancelledSeen;
  LoadRunner runner;
  EXPECT_FALSE(runner.HasWorker());
  EXPECT_FALSE(runner.Cancel({}));  // nothing kept: nothing happens
  auto job = [&](const CancelToken& token) {
    std::unique_lock lock(mutex);
    const bool woken = changed.wait_for(lock, std::chrono::seconds(60),
                                        [&] { return release || token.Cancelled(); });
    cancelledSeen.push_back(woken && token.Cancelled());
  };
  runner.Start(job);
  runner.Start(job);
  EXPECT_TRUE(runner.HasWorker());
  EXPECT_TRUE(runner.Cancel([&](const std::function<bool()>& done) {
    {
      std::lock_guard lock(mutex);
      changed.notify_all();
    }
    // A plain join follows; `done` must hold by then.
    (void)done;
  }));
  EXPECT_FALSE(runner.HasWorker());
  EXPECT_FALSE(runner.Running());
  EXPECT_EQ(cancelledSeen, (std::vector<bool>{true, true}));
  {
    std::lock_guard lock(mutex);
    release = true;
  }
  runner.Start(job);
  runner.StopAll({});
  EXPECT_EQ(cancelledSeen.size(), 3u);
}

TEST(LoadRunner, FinishedHookRunsAfterEachJob) {
  std::atomic<int> finished{0};
  {
    LoadRunner runner([&] { ++finished; });
    runner.Start([](const CancelToken&) {});
    runner.Start([](const CancelToken&) {});
  }
  EXPECT_EQ(finished.load(), 2);
}

}  // namespace
}  // namespace audioedit
