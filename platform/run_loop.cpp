#include "platform/run_loop.h"

#include <cmath>

#include "platform/services.h"

namespace platform {

Duration secondsToDuration(double seconds) {
  if (!std::isfinite(seconds) || seconds <= 0.0) return Duration{0};
  constexpr double maxSeconds = 9.0e9;  // far beyond any game, well inside the clock's range
  return Duration{std::llround(std::min(seconds, maxSeconds) * 1e9)};
}

double durationToSeconds(Duration d) {
  return static_cast<double>(d.count()) / 1e9;
}

std::shared_ptr<Timer> Timer::scheduledTimer(double intervalSeconds, std::function<void()> action) {
  return mainRunLoop().schedule(intervalSeconds, std::move(action));
}

void Timer::invalidate() {
  if (loop_ != nullptr) loop_->cancel(*this);
}

void OneShotTimer::start(double intervalSeconds, std::function<void()> action) {
  cancel();
  timer_ = Timer::scheduledTimer(intervalSeconds, std::move(action));
}

void OneShotTimer::cancel() {
  if (timer_) timer_->invalidate();
  timer_ = nullptr;
}

RunLoop::~RunLoop() {
  for (auto& [key, timer] : pending_) timer->loop_ = nullptr;
}

std::shared_ptr<Timer> RunLoop::schedule(double intervalSeconds, std::function<void()> action) {
  std::shared_ptr<Timer> timer(new Timer());
  timer->loop_ = this;
  timer->fireDate_ = now() + secondsToDuration(intervalSeconds);
  timer->sequence_ = nextSequence_++;
  timer->action_ = std::move(action);
  pending_.emplace(Key{timer->fireDate_, timer->sequence_}, timer);
  pendingTimersChanged();
  return timer;
}

std::optional<Duration> RunLoop::nextDeadline() const {
  if (pending_.empty()) return std::nullopt;
  return pending_.begin()->first.first;
}

void RunLoop::notifyEventHandled() {
  if (applicationHook_) applicationHook_();
  if (afterEvent_) afterEvent_();
}

void RunLoop::cancel(Timer& timer) {
  pending_.erase(Key{timer.fireDate_, timer.sequence_});
  timer.loop_ = nullptr;
  timer.action_ = nullptr;
  pendingTimersChanged();
}

std::size_t RunLoop::fireTimersDueBy(Duration limit) {
  std::size_t fired = 0;
  while (!pending_.empty() && pending_.begin()->first.first <= limit) {
    auto node = pending_.extract(pending_.begin());
    std::shared_ptr<Timer> timer = std::move(node.mapped());
    auto action = std::move(timer->action_);
    timer->loop_ = nullptr;  // spent before its action runs: the action may arm the next timer
    timer->action_ = nullptr;
    pendingTimersChanged();
    if (action) action();
    ++fired;
    notifyEventHandled();
  }
  return fired;
}

void VirtualRunLoop::advanceBy(Duration d) {
  const Duration target = now_ + std::max(d, Duration{0});
  while (auto deadline = nextDeadline()) {
    if (*deadline > target) break;
    now_ = std::max(now_, *deadline);
    fireTimersDueBy(now_);
  }
  now_ = target;
}

bool VirtualRunLoop::runUntilIdle(Duration limit) {
  const Duration end = now_ + limit;
  while (auto deadline = nextDeadline()) {
    if (*deadline > end) {
      now_ = end;
      return false;
    }
    now_ = std::max(now_, *deadline);
    fireTimersDueBy(now_);
  }
  return true;
}

}  // namespace platform
