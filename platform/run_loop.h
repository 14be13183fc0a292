#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

namespace platform {

// Time on a run loop's clock, counted from the loop's start.
using Duration = std::chrono::nanoseconds;

// Converts seconds given as a double to the clock's resolution, rounding to the nearest tick.
Duration secondsToDuration(double seconds);
double durationToSeconds(Duration d);

class RunLoop;

// A one-shot timer. Once it has fired it is spent; once invalidated it never fires. Both are final.
class Timer {
 public:
  // Arms a one-shot timer on the current main run loop.
  static std::shared_ptr<Timer> scheduledTimer(double intervalSeconds,
                                               std::function<void()> action);

  void invalidate();
  bool isValid() const { return loop_ != nullptr; }
  Duration fireDate() const { return fireDate_; }

 private:
  friend class RunLoop;
  Timer() = default;

  RunLoop* loop_ = nullptr;
  Duration fireDate_{0};
  std::uint64_t sequence_ = 0;
  std::function<void()> action_;
};

// A one-shot timer on the main run loop that its owner holds, as a member: starting it replaces the
// firing still pending, destroying it cancels that firing, so nobody has to remember to.
class OneShotTimer {
 public:
  OneShotTimer() = default;
  ~OneShotTimer() { cancel(); }
  OneShotTimer(const OneShotTimer&) = delete;
  OneShotTimer& operator=(const OneShotTimer&) = delete;

  // Fires `action` once, `intervalSeconds` from now, instead of whatever was pending.
  void start(double intervalSeconds, std::function<void()> action);
  // The pending firing, if any, never comes.
  void cancel();
  bool isPending() const { return timer_ && timer_->isValid(); }
  // When the pending firing is due (meaningful only while pending).
  Duration fireDate() const { return timer_ ? timer_->fireDate() : Duration{0}; }

 private:
  std::shared_ptr<Timer> timer_;
};

// The main thread's loop of events. It keeps the pending timers and fires them when they fall
// due: in deadline order, and timers due at the same instant in the order they were armed.
// Subclasses provide the clock and decide how to wait (virtual time, a terminal, a window).
class RunLoop {
 public:
  RunLoop() = default;
  virtual ~RunLoop();
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  virtual Duration now() const = 0;

  std::shared_ptr<Timer> schedule(double intervalSeconds, std::function<void()> action);

  std::size_t pendingTimerCount() const { return pending_.size(); }
  std::optional<Duration> nextDeadline() const;

  // Called after each timer firing has been handled, so a host can refresh what it shows.
  void setAfterEventHook(std::function<void()> hook) { afterEvent_ = std::move(hook); }
  // Called after each timer firing too, before the host's hook: the application's own keeping
  // (the game record), whichever host runs the loop.
  void setApplicationHook(std::function<void()> hook) { applicationHook_ = std::move(hook); }
  void notifyEventHandled();

 protected:
  // Fires, one at a time, every timer whose deadline is at or before `limit`. Returns how many
  // fired.
  std::size_t fireTimersDueBy(Duration limit);
  // Lets a subclass learn that the earliest deadline may have changed.
  virtual void pendingTimersChanged() {}

 private:
  friend class Timer;
  void cancel(Timer& timer);

  using Key = std::pair<Duration, std::uint64_t>;
  std::map<Key, std::shared_ptr<Timer>> pending_;
  std::uint64_t nextSequence_ = 0;
  std::function<void()> afterEvent_;
  std::function<void()> applicationHook_;
};

// A run loop whose clock moves only when told to: tests and scripted runs play hours of calling in
// milliseconds, and every firing lands exactly on its deadline.
class VirtualRunLoop : public RunLoop {
 public:
  Duration now() const override { return now_; }

  // Runs the clock forward by `d`, firing every timer that falls due on the way at its deadline.
  void advanceBy(Duration d);
  void advanceBySeconds(double seconds) { advanceBy(secondsToDuration(seconds)); }
  // Runs the clock until no timer is pending, but never beyond `limit` from now. Returns whether
  // the loop became idle.
  bool runUntilIdle(Duration limit);

 private:
  Duration now_{0};
};

}  // namespace platform
