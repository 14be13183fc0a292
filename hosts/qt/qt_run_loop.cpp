#include "hosts/qt/qt_run_loop.h"

#include "hosts/common/system_io.h"
namespace qthost {

QtRunLoop::QtRunLoop() : start_(std::chrono::steady_clock::now()) {
  wakeUp_.setSingleShot(true);
  wakeUp_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&wakeUp_, &QTimer::timeout, [this] { fireDueTimers(); });
}

QtRunLoop::~QtRunLoop() {
  wakeUp_.stop();
}

platform::Duration QtRunLoop::now() const {
  return hostkit::steadyTimeSince(start_);
}

void QtRunLoop::pendingTimersChanged() {
  const auto deadline = nextDeadline();
  if (!deadline) {
    wakeUp_.stop();
    return;
  }
  // Whole milliseconds, rounded up: a wake-up before the deadline would only find nothing due.
  wakeUp_.start(hostkit::waitMilliseconds(*deadline - now()));
}

void QtRunLoop::fireDueTimers() {
  const platform::Duration firingTime = now();
  if (auto deadline = nextDeadline(); deadline && *deadline <= firingTime && latenessObserver_)
    latenessObserver_(firingTime - *deadline);
  fireTimersDueBy(firingTime);
  pendingTimersChanged();  // a wake-up a hair early finds nothing due and waits again
}

}  // namespace qthost
