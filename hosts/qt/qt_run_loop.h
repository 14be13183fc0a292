#pragma once

#include <chrono>
#include <functional>

#include <QSocketNotifier>

#include "hosts/common/wake_up_timer.h"
#include "platform/run_loop.h"

namespace qthost {

// The main run loop of the window: real time from a steady clock, counted from the moment the loop
// was made (just before the screen loads). The earliest deadline is kept by a timerfd, to the
// nanosecond and without the kernel's timer slack, that Qt's event loop watches like any other
// descriptor: Qt's own timers count in whole milliseconds and wake with slack, which made each
// firing up to several milliseconds late.
class QtRunLoop : public platform::RunLoop {
 public:
  QtRunLoop();

  platform::Duration clockNow() const override;

 protected:
  void pendingTimersChanged() override;

 private:
  void fireDueTimers();

  std::chrono::steady_clock::time_point start_;
  hostkit::WakeUpTimer wakeUp_;
  QSocketNotifier wakeUpNotifier_;
};

}  // namespace qthost
