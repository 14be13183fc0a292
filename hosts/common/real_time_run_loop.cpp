#include "hosts/common/real_time_run_loop.h"

#include <algorithm>
#include <array>

#include "hosts/common/system_io.h"

namespace hostkit {
namespace {

// poll() takes whole milliseconds; -1 waits for the descriptors alone.
int timeoutMilliseconds(platform::Duration from, std::optional<platform::Duration> to) {
  return to ? waitMilliseconds(*to - from) : -1;
}

bool readable(int descriptor) {
  if (descriptor < 0) return false;
  pollfd check{descriptor, POLLIN, 0};
  return ::poll(&check, 1, 0) > 0;
}

}  // namespace

platform::Duration RealTimeRunLoop::now() const {
  return steadyTimeSince(start_);
}

int RealTimeRunLoop::waitOnce(std::span<pollfd> watched, std::optional<platform::Duration> until) {
  std::optional<platform::Duration> wakeAt = nextDeadline();
  if (until && (!wakeAt || *until < *wakeAt)) wakeAt = until;
  const int ready = ::poll(watched.data(), static_cast<nfds_t>(watched.size()),
                           timeoutMilliseconds(now(), wakeAt));
  fireTimersDueBy(now());
  return ready;
}

void RealTimeRunLoop::runFor(platform::Duration d, int stopDescriptor) {
  const platform::Duration end = now() + d;
  std::array<pollfd, 1> stop{pollfd{stopDescriptor, POLLIN, 0}};
  while (now() < end && !readable(stopDescriptor))
    waitOnce(std::span(stop.data(), stopDescriptor < 0 ? 0 : 1), end);
}

bool RealTimeRunLoop::runUntilIdle(platform::Duration limit, int stopDescriptor) {
  const platform::Duration end = now() + limit;
  std::array<pollfd, 1> stop{pollfd{stopDescriptor, POLLIN, 0}};
  while (pendingTimerCount() > 0 && now() < end && !readable(stopDescriptor))
    waitOnce(std::span(stop.data(), stopDescriptor < 0 ? 0 : 1), end);
  return pendingTimerCount() == 0;
}

}  // namespace hostkit
