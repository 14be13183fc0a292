// Clicks and keys on the window play the game exactly as the same taps in a script do: the same
// event transcript, line for line and to the millisecond.
#include <gtest/gtest.h>

#include <sstream>

#include "hosts/common/transcript.h"
#include "hosts/terminal/script_host.h"
#include "window_harness.h"

namespace {

const std::vector<std::uint32_t> kDraws = {7, 45, 12, 88, 3, 60, 21, 34, 90, 1};

// Pause before the game (ignored), Play, a speed, a recall, Play again, Pause.
const char* const kScript =
    "tap Pause\ntap Play\nwait 20\ntap 7\nwait 15\ntap L3\nwait 40\ntap Play\nwait 30\n"
    "tap Pause\nwait 10\n";

std::vector<terminal::ScriptCommand> commands() {
  std::istringstream script(kScript);
  return terminal::parseScript(script);
}

// The scripted run's transcript without its own tap lines, which clicks and keys do not write.
std::string scriptedTranscript() {
  platform::SeededRandomSource seeded(1);
  platform::PresetRandomSource random(kDraws, seeded);
  std::ostringstream out, errors;
  terminal::ScriptHost host(commands(), terminal::ScriptHost::Clock::virtualTime, random, out,
                            errors);
  EXPECT_EQ(app::applicationMain(host, {}), 0) << errors.str();
  std::istringstream lines(out.str());
  std::string line, kept;
  while (std::getline(lines, line))
    if (line.find(" tap ") == std::string::npos && line.find(" tap-ignored ") == std::string::npos)
      kept += line + "\n";
  return kept;
}

// The window's speech and console lines, written to a transcript on the window's own clock.
struct ToTranscript : platform::SpeechEngine, platform::Console {
  hostkit::TranscriptRecorder* to = nullptr;
  void speak(const platform::SpeechUtterance& u, platform::Duration at) override {
    if (to != nullptr) to->speak(u, at);
  }
  void writeLine(std::string_view line) override {
    if (to != nullptr) to->writeLine(line);
  }
};

// Plays the script's taps on a window of the given size with `press`, returns its transcript.
std::string windowTranscript(QSize size,
                             const std::function<void(WindowHarness&, const std::string&)>& press) {
  ToTranscript forward;
  WindowHarness w({.presetDraws = kDraws}, size, &forward, &forward);
  std::ostringstream out;
  hostkit::TranscriptRecorder recorder(out, w.loop);
  forward.to = &recorder;
  recorder.attach(w.screen);
  w.loop.setAfterEventHook([&] {
    w.widget->screenChanged();
    recorder.eventHandled();
  });
  w.widget->setAfterInputHook([&] { recorder.eventHandled(); });
  for (const auto& command : commands()) {
    if (command.kind == terminal::ScriptCommand::Kind::tap) press(w, command.title);
    if (command.kind == terminal::ScriptCommand::Kind::wait) w.advance(command.seconds);
  }
  // The recorder goes before the window: nothing may reach it once it is gone.
  w.loop.setAfterEventHook(nullptr);
  w.widget->setAfterInputHook(nullptr);
  forward.to = nullptr;
  return out.str();
}

TEST(WindowInput, ClicksAndKeysWriteTheTranscriptOfTheSameScript) {
  const std::string expected = scriptedTranscript();
  ASSERT_NE(expected.find("say Single number"), std::string::npos);
  // A window of another shape than the screen: clicks must undo the scale and the side bars.
  EXPECT_EQ(windowTranscript({1500, 700},
                             [](WindowHarness& w, const std::string& title) { w.click(title); }),
            expected);
  // Space is Play or Pause, whichever takes taps; so the Pause before the game is left out.
  const std::map<std::string, Qt::Key> keys = {
      {"Play", Qt::Key_Space}, {"Pause", Qt::Key_Space}, {"7", Qt::Key_7}, {"L3", Qt::Key_F3}};
  bool first = true;
  EXPECT_EQ(windowTranscript({500, 900},
                             [&](WindowHarness& w, const std::string& title) {
                               if (!std::exchange(first, false)) w.key(keys.at(title));
                             }),
            expected);
}

}  // namespace
