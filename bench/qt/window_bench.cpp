// How the desktop window performs, measured in real time (it takes about a minute and a half):
//  - launch to the first painted frame on the offscreen platform, the caller's window beside a
//    minimal Qt window, each in a fresh process, with each process's peak memory;
//  - how late the precise timers of the window's run loop fire: a real game calling at speed 2
//    with the window repainting after every firing, then a chain of short re-armed timers.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <QApplication>
#include <QEventLoop>
#include <QPainter>
#include <QTimer>

#include "app/screen.h"
#include "engine/view_controller.h"
#include "hosts/qt/alert_dialog.h"
#include "hosts/qt/qt_run_loop.h"
#include "hosts/qt/screen_widget.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/services.h"
#include "platform/speech.h"
#include "platform/stand_ins.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Quits the application once the widget has painted its first frame.
template <class Base>
class FirstFrame : public Base {
 public:
  using Base::Base;

 protected:
  void paintEvent(QPaintEvent* event) override {
    Base::paintEvent(event);
    QTimer::singleShot(0, [] { QApplication::quit(); });
  }
};

class MinimalWidget : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Hello"));
  }
};

// A loaded phone-sized screen on the window's run loop, speaking nothing, ready to be shown.
struct SilentScreen {
  explicit SilentScreen(qthost::QtRunLoop& loop)
      : outputs({&loop, &speech, &alerts, &console, &random}),
        scope(outputs.services()),
        screen(controller, outputs) {
    controller.setInitialViewFrame({0.0, 0.0, 320.0, 568.0});
    controller.view();
    screen.fitToContent();
  }

  platform::SilentSpeechEngine speech;
  platform::RecordingConsole console;
  platform::SeededRandomSource random{2026};
  qthost::QtAlertPresenter alerts{[] { return nullptr; }, nullptr};
  app::OutputWatch outputs;
  platform::ServicesScope scope;
  ViewController controller;
  app::Screen screen;
};

int childShowsFirstFrame(const std::string& which, int argc, char** argv) {
  QApplication app(argc, argv);
  if (which == "minimal") {
    FirstFrame<MinimalWidget> widget;
    widget.resize(640, 960);
    widget.show();
    return QApplication::exec();
  }
  qthost::QtRunLoop loop;
  SilentScreen silent(loop);
  FirstFrame<qthost::ScreenWidget> widget(silent.screen);
  widget.resize(640, 960);
  widget.show();
  return QApplication::exec();
}

struct ChildRun {
  double seconds;
  long peakKilobytes;
};

ChildRun runChild(const char* self, const char* which) {
  const char* args[] = {self, "--child", which, nullptr};
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, self, nullptr, nullptr, const_cast<char**>(args), environ) != 0) {
    std::perror("posix_spawn");
    return {0.0, 0};
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  return {std::chrono::duration<double>(Clock::now() - start).count(), usage.ru_maxrss};
}

double milliseconds(platform::Duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

void reportLaunches(const char* self) {
  constexpr int kRuns = 15;
  std::printf("Launch to first painted frame (offscreen, %d fresh processes each)\n", kRuns);
  std::printf("  %-16s %12s %12s %14s\n", "window", "median ms", "max ms", "peak memory");
  for (const char* which : {"minimal", "caller"}) {
    std::vector<double> times;
    long peak = 0;
    for (int i = 0; i < kRuns; ++i) {
      const ChildRun run = runChild(self, which);
      times.push_back(run.seconds * 1000.0);
      peak = std::max(peak, run.peakKilobytes);
    }
    std::printf("  %-16s %12.1f %12.1f %11.1f MiB\n",
                which == std::string("minimal") ? "minimal Qt" : "caller", percentile(times, 0.5),
                percentile(times, 1.0), static_cast<double>(peak) / 1024.0);
  }
}

void reportLateness(const char* what, const std::vector<double>& lateMs) {
  std::printf("  %-34s %6zu firings  median %6.3f ms  p99 %6.3f ms  max %6.3f ms\n", what,
              lateMs.size(), percentile(lateMs, 0.5), percentile(lateMs, 0.99),
              percentile(lateMs, 1.0));
}

// A real game at speed 2 with the window shown and repainted after every firing.
std::vector<double> latenessOfAGame(double seconds) {
  qthost::QtRunLoop loop;
  std::vector<double> late;
  loop.setLatenessObserver([&](platform::Duration d) { late.push_back(milliseconds(d)); });
  SilentScreen silent(loop);
  qthost::ScreenWidget widget(silent.screen);
  widget.resize(640, 960);
  widget.show();
  loop.setAfterEventHook([&] { widget.screenChanged(); });
  widget.press("2");
  widget.press("Play");
  QEventLoop events;
  QTimer::singleShot(static_cast<int>(seconds * 1000), &events, [&] { events.quit(); });
  events.exec();
  loop.setAfterEventHook(nullptr);
  return late;
}

// A chain of one-shot timers, each armed from the action of the one before, 50 to 250 ms apart.
std::vector<double> latenessOfAChain(int firings) {
  qthost::QtRunLoop loop;
  std::vector<double> late;
  loop.setLatenessObserver([&](platform::Duration d) { late.push_back(milliseconds(d)); });
  QEventLoop events;
  int left = firings;
  std::function<void()> step = [&] {
    if (--left <= 0) {
      events.quit();
      return;
    }
    loop.schedule(0.05 + 0.05 * (left % 5), step);
  };
  loop.schedule(0.05, step);
  events.exec();
  return late;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
    return childShowsFirstFrame(argv[2], argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  reportLaunches(argv[0]);

  QApplication app(argc, argv);
  std::printf("Timer lateness on the window's run loop (precise timers, real time)\n");
  reportLateness("a game at speed 2, 45 s", latenessOfAGame(45.0));
  reportLateness("re-armed chain, 50-250 ms apart", latenessOfAChain(300));
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("Peak memory of this harness after both: %.1f MiB\n",
              static_cast<double>(usage.ru_maxrss) / 1024.0);
  return 0;
}
