#pragma once

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/view_controller.h"
#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/run_loop.h"
#include "platform/services.h"
#include "platform/speech.h"
#include "platform/stand_ins.h"
#include "platform/touch.h"

// A loaded screen on a virtual clock, with its speech, console lines and alerts recorded and a
// seeded draw. Numbers given as `presetDraws` are drawn first, in order.
// The services it installs are the process's, so keep one harness alive at a time: a second one
// would take over the first one's clock, speech and alerts until it ends.
class ScreenHarness {
 public:
  struct Options {
    std::uint64_t seed = 1;
    double width = 320.0;
    platform::UserInterfaceIdiom idiom = platform::UserInterfaceIdiom::phone;
    std::vector<std::uint32_t> presetDraws{};
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
  bool takesTaps(const std::string& title) { return button(title).isUserInteractionEnabled(); }
  // The cell of number n (1 to 90).
  platform::View& cell(int n) {
    return *screen->_gridViewsArray.at(static_cast<std::size_t>(n - 1));
  }

  // One letter per cell, number 1 first: 'u' not called, 'j' just called, 'f' called earlier.
  std::string boardLetters() const {
    std::string letters;
    for (const auto& cell : screen->_gridViewsArray) {
      const auto& colour = cell->backgroundColor();
      letters += colour == screen->color_un_filled     ? 'u'
                 : colour == screen->color_just_filled ? 'j'
                                                       : 'f';
    }
    return letters;
  }

  void advance(double seconds) { loop.advanceBySeconds(seconds); }
  bool runUntilIdle() { return loop.runUntilIdle(std::chrono::hours(10)); }
  double now() const { return platform::durationToSeconds(loop.now()); }
  // Plays a host's script, word by word: "2.5s" lets 2.5 seconds pass, "Yes" and "No" answer the
  // alert on top, any other word taps the control of that title, with '_' for a blank.
  void perform(const std::string& script) {
    std::istringstream words(script);
    for (std::string word; words >> word;) {
      std::replace(word.begin(), word.end(), '_', ' ');
      if (word == "Yes" || word == "No")
        alerts.tapButtonTitled(word);
      else if (word.ends_with('s') && std::isdigit(static_cast<unsigned char>(word[0])))
        advance(std::stod(word));
      else
        tap(word);
    }
  }
  // Runs the clock timer by timer until `count` numbers have been drawn (or nothing is pending).
  void runUntilDrawn(std::size_t count) {
    while (screen->_randomNumbers.size() < count && loop.nextDeadline())
      loop.advanceBySeconds(platform::durationToSeconds(*loop.nextDeadline() - loop.now()));
  }

  // The texts handed to the synthesiser from entry `from` on.
  std::vector<std::string> spoken(std::size_t from = 0) const {
    std::vector<std::string> texts;
    for (std::size_t i = from; i < speech.entries().size(); ++i)
      texts.push_back(speech.entries()[i].text);
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
