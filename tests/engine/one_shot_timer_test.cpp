// The owning timer: one firing at most is pending, a new start replaces it, and its owner going
// away cancels it, so nothing fires into an owner that is gone.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/run_loop.h"
#include "platform/services.h"

TEST(OneShotTimer, StartReplacesThePendingFiringAndDestroyingCancelsIt) {
  platform::VirtualRunLoop loop;
  platform::ServicesScope scope({&loop});
  std::vector<int> fired;

  platform::OneShotTimer timer;
  timer.start(5.0, [&] { fired.push_back(1); });
  timer.start(2.0, [&] { fired.push_back(2); });  // replaces the first
  EXPECT_EQ(loop.pendingTimerCount(), 1u);
  EXPECT_EQ(timer.fireDate(), platform::secondsToDuration(2.0));
  loop.advanceBySeconds(10.0);
  EXPECT_EQ(fired, std::vector<int>{2});
  EXPECT_FALSE(timer.isPending());

  // Re-armed from its own action, as the announcement cycle does.
  timer.start(1.0, [&] {
    fired.push_back(3);
    timer.start(1.0, [&] { fired.push_back(4); });
  });
  loop.advanceBySeconds(1.5);
  EXPECT_TRUE(timer.isPending());
  timer.cancel();
  loop.advanceBySeconds(5.0);
  EXPECT_EQ(fired, (std::vector<int>{2, 3}));

  {
    auto owner = std::make_unique<platform::OneShotTimer>();
    owner->start(1.0, [&] { fired.push_back(5); });
  }
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
  loop.advanceBySeconds(5.0);
  EXPECT_EQ(fired, (std::vector<int>{2, 3}));
}
