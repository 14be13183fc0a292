#include "hosts/common/wake_up_timer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace hostkit {
namespace {

constexpr std::int64_t kNanosPerSecond = 1'000'000'000;

// The descriptor becomes readable this long before the deadline and the rest is waited out on the
// processor: waking a sleeping thread takes the machine a fifth of a millisecond and more (well
// over a millisecond now and then on a virtual machine), and a firing should not be late by it.
// Spinning up to a millisecond a firing costs about a thousandth of a core at the fastest speed.
constexpr std::chrono::microseconds kWakeAhead{1000};

timespec timespecOf(std::chrono::nanoseconds sinceBoot) {
  const std::int64_t ns = std::max<std::int64_t>(sinceBoot.count(), 1);  // zero would disarm
  return {static_cast<time_t>(ns / kNanosPerSecond), static_cast<long>(ns % kNanosPerSecond)};
}

// The firings kept for VORLIX_FIRING_LOG, written out when the program ends.
class FiringRecord {
 public:
  static FiringRecord& instance() {
    static FiringRecord record;
    return record;
  }
  bool wanted() const { return !path_.empty(); }
  void add(std::int64_t due, std::int64_t actual) {
    const std::lock_guard lock(mutex_);
    firings_.emplace_back(due, actual);
  }
  ~FiringRecord() {
    if (!wanted()) return;
    if (std::FILE* file = std::fopen(path_.c_str(), "w")) {
      for (const auto& [due, actual] : firings_)
        std::fprintf(file, "%lld %lld\n", static_cast<long long>(due),
                     static_cast<long long>(actual));
      std::fclose(file);
    }
  }

 private:
  FiringRecord() {
    if (const char* path = std::getenv("VORLIX_FIRING_LOG")) path_ = path;
    if (wanted()) firings_.reserve(4096);
  }
  std::string path_;
  std::mutex mutex_;
  std::vector<std::pair<std::int64_t, std::int64_t>> firings_;
};

}  // namespace

WakeUpTimer::WakeUpTimer(std::chrono::steady_clock::time_point origin)
    : origin_(origin), descriptor_(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
  if (descriptor_ < 0) throw std::system_error(errno, std::generic_category(), "timerfd_create");
}

WakeUpTimer::~WakeUpTimer() {
  ::close(descriptor_);
}

void WakeUpTimer::wakeAt(std::optional<platform::Duration> at) {
  if (at == armedFor_) return;
  itimerspec setting{};
  if (at) setting.it_value = timespecOf(origin_.time_since_epoch() + *at - kWakeAhead);
  ::timerfd_settime(descriptor_, TFD_TIMER_ABSTIME, &setting, nullptr);
  armedFor_ = at;
}

void WakeUpTimer::acknowledge() {
  std::uint64_t expirations = 0;
  if (::read(descriptor_, &expirations, sizeof expirations) <= 0 || !armedFor_) return;
  const auto deadline = origin_ + *armedFor_;
  const auto latest = std::chrono::steady_clock::now() + kWakeAhead;  // bounded, whatever the clock
  armedFor_.reset();
  for (auto now = std::chrono::steady_clock::now(); now < deadline && now < latest;
       now = std::chrono::steady_clock::now()) {
  }
}

std::function<void(platform::Duration, platform::Duration)> FiringLog::observer(
    std::chrono::steady_clock::time_point origin) {
  if (!FiringRecord::instance().wanted()) return nullptr;
  const auto base = std::chrono::duration_cast<platform::Duration>(origin.time_since_epoch());
  return [base](platform::Duration due, platform::Duration actual) {
    FiringRecord::instance().add((base + due).count(), (base + actual).count());
  };
}

}  // namespace hostkit
