#include "hosts/common/real_time_run_loop.h"

#include <algorithm>
#include <array>

#include "hosts/common/system_io.h"

namespace hostkit {
namespace {

bool readable(int descriptor) {
  if (descriptor < 0) return false;
  pollfd check{descriptor, POLLIN, 0};
  return ::poll(&check, 1, 0) > 0;
}

}  // namespace

RealTimeRunLoop::RealTimeRunLoop() : start_(std::chrono::steady_clock::now()), wakeUp_(start_) {
  setFiringObserver(FiringLog::observer(start_));
}

platform::Duration RealTimeRunLoop::clockNow() const {
  return steadyTimeSince(start_);
}

// poll() waits with no timeout of its own: the wake-up timer's descriptor, last in the list, says
// when the next deadline (or `until`) has come.
int RealTimeRunLoop::waitOnce(std::span<pollfd> watched, std::optional<platform::Duration> until) {
  std::optional<platform::Duration> wakeAt = nextDeadline();
  if (until && (!wakeAt || *until < *wakeAt)) wakeAt = until;
  wakeUp_.wakeAt(wakeAt);
  polled_.assign(watched.begin(), watched.end());
  polled_.push_back(pollfd{wakeUp_.descriptor(), POLLIN, 0});
  int ready = ::poll(polled_.data(), static_cast<nfds_t>(polled_.size()), -1);
  if (polled_.back().revents != 0) {
    wakeUp_.acknowledge();
    --ready;
  }
  fireTimersDueBy(clockNow());
  for (std::size_t i = 0; i < watched.size(); ++i) watched[i].revents = polled_[i].revents;
  return ready;
}

void RealTimeRunLoop::runFor(platform::Duration d, int stopDescriptor) {
  const platform::Duration end = now() + d;
  std::array<pollfd, 1> stop{pollfd{stopDescriptor, POLLIN, 0}};
  while (clockNow() < end && !readable(stopDescriptor))
    waitOnce(std::span(stop.data(), stopDescriptor < 0 ? 0 : 1), end);
}

bool RealTimeRunLoop::runUntilIdle(platform::Duration limit, int stopDescriptor) {
  const platform::Duration end = now() + limit;
  std::array<pollfd, 1> stop{pollfd{stopDescriptor, POLLIN, 0}};
  while (pendingTimerCount() > 0 && clockNow() < end && !readable(stopDescriptor))
    waitOnce(std::span(stop.data(), stopDescriptor < 0 ? 0 : 1), end);
  return pendingTimerCount() == 0;
}

}  // namespace hostkit
