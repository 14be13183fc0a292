#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "platform/run_loop.h"

namespace hostkit {

// A timerfd on the steady clock that becomes readable at an absolute time on a run loop's clock,
// to the nanosecond and without timer slack. A real-time run loop waits on its descriptor beside
// its other ones. Each firing is also written to the firing log, when one is asked for.
class WakeUpTimer {
 public:
  explicit WakeUpTimer(std::chrono::steady_clock::time_point origin);
  ~WakeUpTimer();
  WakeUpTimer(const WakeUpTimer&) = delete;
  WakeUpTimer& operator=(const WakeUpTimer&) = delete;

  int descriptor() const { return descriptor_; }
  // Becomes readable just before `at` on the loop's clock (at once when that has passed); never
  // when empty.
  void wakeAt(std::optional<platform::Duration> at);
  // Reads the expiry, so the descriptor is quiet until the next wakeAt, and returns at the
  // deadline: the descriptor wakes a little ahead of it.
  void acknowledge();

 private:
  std::chrono::steady_clock::time_point origin_;
  int descriptor_ = -1;
  std::optional<platform::Duration> armedFor_;
};

// When the environment names a file in VORLIX_FIRING_LOG, every timer firing of the real-time run
// loops is written there as "DUE ACTUAL", nanoseconds on the steady clock (CLOCK_MONOTONIC): how
// the benchmarks measure the real program's lateness and drift. The file is written when the
// program ends; without the variable nothing is kept.
class FiringLog {
 public:
  // A firing observer for a loop whose clock starts at `origin`; empty without the variable.
  static std::function<void(platform::Duration, platform::Duration)> observer(
      std::chrono::steady_clock::time_point origin);
};

}  // namespace hostkit
