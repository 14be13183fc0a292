#include "hosts/qt/qt_run_loop.h"

#include "hosts/common/system_io.h"
namespace qthost {

QtRunLoop::QtRunLoop()
    : start_(std::chrono::steady_clock::now()),
      wakeUp_(start_),
      wakeUpNotifier_(wakeUp_.descriptor(), QSocketNotifier::Read) {
  QObject::connect(&wakeUpNotifier_, &QSocketNotifier::activated, [this] { fireDueTimers(); });
  setFiringObserver(hostkit::FiringLog::observer(start_));
}

platform::Duration QtRunLoop::clockNow() const {
  return hostkit::steadyTimeSince(start_);
}

void QtRunLoop::pendingTimersChanged() {
  wakeUp_.wakeAt(nextDeadline());
}

void QtRunLoop::fireDueTimers() {
  wakeUp_.acknowledge();
  fireTimersDueBy(clockNow());
  pendingTimersChanged();
}

}  // namespace qthost
