#pragma once

#include <chrono>
#include <functional>

#include <QTimer>

#include "platform/run_loop.h"

namespace qthost {

// The main run loop of the window: real time from a steady clock, counted from the moment the loop
// was made (just before the screen loads). One precise single-shot QTimer is armed for the earliest
// deadline; the coarse default timer type may fire several percent early or late, which would
// stretch or squeeze the calling pace.
class QtRunLoop : public platform::RunLoop {
 public:
  QtRunLoop();
  ~QtRunLoop() override;

  platform::Duration now() const override;

  // Told, before each firing, how late it comes after its deadline (for measuring the pace).
  void setLatenessObserver(std::function<void(platform::Duration)> observer) {
    latenessObserver_ = std::move(observer);
  }

 protected:
  void pendingTimersChanged() override;

 private:
  void fireDueTimers();

  std::chrono::steady_clock::time_point start_;
  QTimer wakeUp_;
  std::function<void(platform::Duration)> latenessObserver_;
};

}  // namespace qthost
