// The window's run loop on Qt's timers: what it fires, in which order, and never before time.
// These few timers are tens of milliseconds long; the pace itself is measured in bench/qt.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include "hosts/qt/qt_run_loop.h"

namespace {

TEST(QtRunLoop, FiresArmedTimersInDeadlineOrderNeverEarlyAndNeverAfterInvalidate) {
  qthost::QtRunLoop loop;
  std::vector<std::string> fired;
  std::vector<platform::Duration> earliness;
  QEventLoop events;
  auto arm = [&](double seconds, std::string name) {
    auto timer = std::make_shared<std::shared_ptr<platform::Timer>>();
    *timer = loop.schedule(seconds, [&, timer, name] {
      fired.push_back(name);
      earliness.push_back((*timer)->fireDate() - loop.clockNow());
      if (loop.pendingTimerCount() == 0) events.quit();
    });
    return *timer;
  };
  arm(0.030, "third");
  arm(0.010, "first");
  auto cancelled = arm(0.015, "cancelled");
  arm(0.020, "second");
  arm(0.0, "at once");
  cancelled->invalidate();
  // A timer armed from inside another's action (as the announcement timer re-arms itself) counts
  // from that firing's due time, however late it ran.
  std::shared_ptr<platform::Timer> rearmed;
  auto first = loop.schedule(0.005, [&] { rearmed = arm(0.040, "re-armed"); });

  QTimer::singleShot(5000, &events, [&] { events.quit(); });  // a guard, never reached when sound
  events.exec();

  EXPECT_EQ(fired, (std::vector<std::string>{"at once", "first", "second", "third", "re-armed"}));
  for (auto early : earliness) EXPECT_LE(early.count(), 0) << "a timer fired before its deadline";
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
  ASSERT_TRUE(rearmed);
  EXPECT_EQ(rearmed->fireDate(), first->fireDate() + std::chrono::milliseconds(40));
}

}  // namespace
