#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/view_controller.h"
#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/run_loop.h"
#include "platform/services.h"
#include "platform/speech.h"
#include "platform/touch.h"

// A loaded screen on a virtual clock, with its speech, console lines and alerts recorded and a
// seeded draw. Numbers given as `presetDraws` are drawn first, in order.
class ScreenHarness {
 public:
  struct Options {
    std::uint64_t seed = 1;
    double width = 320.0;
    platform::UserInterfaceIdiom idiom = platform::UserInterfaceIdiom::phone;
    std::vector<std::uint32_t> presetDraws;
  };

  ScreenHarness() : ScreenHarness(Options{}) {}
  explicit ScreenHarness(Options options)
      : seeded_(options.seed),
        random_(std::move(options.presetDraws), seeded_),
        scope_({&loop, &speech, &alerts, &console, &random_, options.idiom}),
        screen(std::make_unique<ViewController>()) {
    screen->setInitialViewFrame({0.0, 0.0, options.width, 568.0});
    screen->view();
  }

  ViewController& vc() { return *screen; }
  platform::View& root() { return screen->view(); }

  platform::TapOutcome tap(const std::string& title) {
    return platform::tapButtonTitled(root(), title);
  }
  platform::Button& button(const std::string& title) {
    return *platform::findButtonTitled(root(), title);
  }
  // The cell of number n (1 to 90).
  platform::View& cell(int n) { return *screen->_gridViewsArray.at(static_cast<std::size_t>(n - 1)); }

  void advance(double seconds) { loop.advanceBySeconds(seconds); }
  bool runUntilIdle() { return loop.runUntilIdle(std::chrono::hours(10)); }
  double now() const { return platform::durationToSeconds(loop.now()); }

  std::vector<std::string> spoken() const {
    std::vector<std::string> texts;
    for (const auto& entry : speech.entries()) texts.push_back(entry.text);
    return texts;
  }

  platform::VirtualRunLoop loop;
  platform::TranscriptSpeechEngine speech;
  platform::RecordingAlertPresenter alerts;
  platform::RecordingConsole console;

 private:
  platform::SeededRandomSource seeded_;
  platform::PresetRandomSource random_;
  platform::ServicesScope scope_;

 public:
  std::unique_ptr<ViewController> screen;
};
