// The loop's time while a firing is handled is the firing's due time, so a timer armed then counts
// from the due time and lateness never adds up; a firing far too late (a stopped process) counts
// from when it ran, so the calls never bunch up.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/run_loop.h"

namespace {

using platform::Duration;
using std::chrono::milliseconds;

// A loop whose clock is set by hand, and which fires only when told to, however late that is.
class HandClockLoop : public platform::RunLoop {
 public:
  Duration clockNow() const override { return clock; }
  void runAt(Duration at) {
    clock = at;
    fireTimersDueBy(at);
  }
  Duration clock{0};
};

TEST(RunLoopClock, AFiringArmedInAFiringCountsFromTheDueTimeUnlessFarTooLate) {
  struct Case {
    const char* what;
    Duration lateness;
    Duration nextDue;  // of a 1 s timer armed by a firing due at 2 s
  };
  const Case cases[] = {
      {"on time", Duration{0}, milliseconds(3000)},
      {"a little late", milliseconds(7), milliseconds(3000)},
      {"at the limit", platform::RunLoop::kLateFiringLimit, milliseconds(3000)},
      {"past the limit", milliseconds(900), milliseconds(3900)},
  };
  for (const Case& c : cases) {
    HandClockLoop loop;
    std::vector<Duration> seenInFiring;
    std::vector<std::pair<Duration, Duration>> observed;
    loop.setFiringObserver(
        [&](Duration due, Duration runsAt) { observed.emplace_back(due, runsAt); });
    auto next = std::shared_ptr<platform::Timer>();
    loop.schedule(2.0, [&] {
      seenInFiring.push_back(loop.now());
      next = loop.schedule(1.0, [] {});
    });
    loop.runAt(milliseconds(2000) + c.lateness);
    ASSERT_TRUE(next) << c.what;
    EXPECT_EQ(next->fireDate(), c.nextDue) << c.what;
    EXPECT_EQ(observed.at(0), std::make_pair(Duration(milliseconds(2000)), loop.clock)) << c.what;
    EXPECT_EQ(loop.now(), loop.clock) << c.what << ": the clock again after the firing";
  }
}

}  // namespace
