#include "hosts/common/system_io.h"

#include <unistd.h>

#include <algorithm>
#include <limits>

namespace hostkit {

bool writeAll(int descriptor, const char* bytes, std::size_t length) {
  while (length > 0) {
    const auto written = ::write(descriptor, bytes, length);
    if (written <= 0) return false;
    bytes += written;
    length -= static_cast<std::size_t>(written);
  }
  return true;
}

platform::Duration steadyTimeSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<platform::Duration>(std::chrono::steady_clock::now() - start);
}

int waitMilliseconds(platform::Duration remaining) {
  remaining = std::max(remaining, platform::Duration{0});
  const auto millis = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
  return static_cast<int>(std::min<long long>(millis, std::numeric_limits<int>::max()));
}

}  // namespace hostkit
