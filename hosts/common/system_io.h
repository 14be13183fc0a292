#pragma once

#include <chrono>
#include <string_view>

#include "platform/run_loop.h"

namespace hostkit {

// Writes all of `bytes` to the descriptor, as many write() calls as it takes; false when the
// descriptor fails. Only write() is called, so a signal handler may use it.
bool writeAll(int descriptor, const char* bytes, std::size_t length);
inline bool writeAll(int descriptor, std::string_view bytes) {
  return writeAll(descriptor, bytes.data(), bytes.size());
}

// A run loop's clock on the wall: the time since `start` on the steady clock.
platform::Duration steadyTimeSince(std::chrono::steady_clock::time_point start);

// How long poll() or a timer must wait, in whole milliseconds, for `remaining`: rounded up, so a
// wake-up never comes before it is due; never negative, at most the largest int.
int waitMilliseconds(platform::Duration remaining);

}  // namespace hostkit
