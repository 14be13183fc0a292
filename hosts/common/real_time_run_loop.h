#pragma once

#include <poll.h>

#include <chrono>
#include <optional>
#include <span>

#include "platform/run_loop.h"

namespace hostkit {

// A run loop on the wall clock. It sleeps in poll() until the earliest of: one of the watched file
// descriptors has something, the next timer falls due, or the caller's own limit; then fires what
// is due. Nothing is polled in a busy loop.
class RealTimeRunLoop : public platform::RunLoop {
 public:
  RealTimeRunLoop() : start_(std::chrono::steady_clock::now()) {}

  platform::Duration now() const override;

  // Waits once as above (never past `until`, when given) and fires the timers then due. Returns
  // poll()'s result for the watched descriptors (0 when none is ready, -1 on an interruption).
  int waitOnce(std::span<pollfd> watched, std::optional<platform::Duration> until);

  // Lets the clock run `d` (firing timers as they fall due), or until `stop` becomes readable.
  void runFor(platform::Duration d, int stopDescriptor);
  // Runs until no timer is pending, for at most `limit`, or until `stop` becomes readable.
  bool runUntilIdle(platform::Duration limit, int stopDescriptor);

 private:
  std::chrono::steady_clock::time_point start_;
};

}  // namespace hostkit
