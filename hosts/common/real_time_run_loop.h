#pragma once

#include <poll.h>

#include <chrono>
#include <optional>
#include <span>
#include <vector>

#include "hosts/common/wake_up_timer.h"
#include "platform/run_loop.h"

namespace hostkit {

// A run loop on the wall clock. It sleeps in poll() until the earliest of: one of the watched file
// descriptors has something, the next timer falls due, or the caller's own limit; then fires what
// is due. The deadlines are kept by a timerfd to the nanosecond, which the kernel wakes without
// the slack it gives poll()'s own timeout. Nothing is polled in a busy loop.
class RealTimeRunLoop : public platform::RunLoop {
 public:
  RealTimeRunLoop();

  platform::Duration clockNow() const override;

  // Waits once as above (never past `until`, when given) and fires the timers then due. Returns
  // poll()'s count of the watched descriptors that are ready (0 when none is, -1 on an
  // interruption).
  int waitOnce(std::span<pollfd> watched, std::optional<platform::Duration> until);

  // Lets the clock run `d` (firing timers as they fall due), or until `stop` becomes readable.
  void runFor(platform::Duration d, int stopDescriptor);
  // Runs until no timer is pending, for at most `limit`, or until `stop` becomes readable.
  bool runUntilIdle(platform::Duration limit, int stopDescriptor);

 private:
  std::chrono::steady_clock::time_point start_;
  WakeUpTimer wakeUp_;
  std::vector<pollfd> polled_;
};

}  // namespace hostkit
