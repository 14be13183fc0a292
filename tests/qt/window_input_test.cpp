// Clicks and keys on the window play the game exactly as the same taps in a script do: the same
// event transcript, line for line and to the millisecond.
#include <gtest/gtest.h>

#include <sstream>

#include "hosts/terminal/script.h"
#include "hosts/terminal/script_runner.h"
#include "hosts/terminal/transcript.h"
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

// The script's transcript without its own tap lines, which clicks and keys do not write.
std::string withoutTapLines(const std::string& transcript) {
  std::istringstream lines(transcript);
  std::string line, kept;
  while (std::getline(lines, line))
    if (line.find(" tap ") == std::string::npos && line.find(" tap-ignored ") == std::string::npos)
      kept += line + "\n";
  return kept;
}

std::string scriptedTranscript() {
  std::ostringstream out;
  platform::VirtualRunLoop loop;
  terminal::TranscriptRecorder recorder(out, loop);
  platform::SeededRandomSource seeded(1);
  platform::PresetRandomSource random(kDraws, seeded);
  platform::ServicesScope scope({&loop, &recorder, &recorder, &recorder, &random});
  ViewController screen;
  screen.setInitialViewFrame({0.0, 0.0, 320.0, 568.0});
  screen.view();
  recorder.attach(screen);
  loop.setAfterEventHook([&] { recorder.eventHandled(); });
  terminal::ScriptRunner(screen, recorder,
                         {[&](platform::Duration d) { loop.advanceBy(d); },
                          [&](platform::Duration d) { loop.runUntilIdle(d); }})
      .run(commands());
  loop.setAfterEventHook(nullptr);
  return withoutTapLines(out.str());
}

// The window's speech and console lines, written to a transcript on the window's own clock.
struct ToTranscript : platform::SpeechEngine, platform::Console {
  terminal::TranscriptRecorder* to = nullptr;
  void speak(const platform::SpeechUtterance& u, platform::Duration at) override {
    to->speak(u, at);
  }
  void writeLine(std::string_view line) override { to->writeLine(line); }
};

// Plays the script's taps on a window of the given size with `press`, returns its transcript.
std::string windowTranscript(QSize size,
                             const std::function<void(WindowHarness&, const std::string&)>& press) {
  ToTranscript forward;
  WindowHarness w({.presetDraws = kDraws}, size, &forward, &forward);
  std::ostringstream out;
  terminal::TranscriptRecorder recorder(out, w.loop);
  forward.to = &recorder;
  recorder.attach(*w.screen);
  w.loop.setAfterEventHook([&] {
    w.widget->screenChanged();
    recorder.eventHandled();
  });
  w.widget->setAfterInputHook([&] { recorder.eventHandled(); });
  for (const auto& command : commands()) {
    if (command.kind == terminal::ScriptCommand::Kind::tap) press(w, command.title);
    if (command.kind == terminal::ScriptCommand::Kind::wait) w.advance(command.seconds);
  }
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

TEST(WindowInput, ClicksOutsideButtonsInertButtonsAndOtherKeysChangeNothing) {
  WindowHarness w({.presetDraws = kDraws}, {1600, 600});
  QTest::mouseClick(w.widget.get(), Qt::LeftButton, {}, QPoint(10, 300));  // the bar at the side
  QTest::mouseClick(w.widget.get(), Qt::LeftButton, {}, w.widget->centreOf(w.cell(45)));
  w.click("Pause");  // grey: it takes no taps before the game runs
  QTest::mouseClick(w.widget.get(), Qt::RightButton, {}, w.widget->centreOf(w.button("Play")));
  w.key(Qt::Key_Z);
  w.key(Qt::Key_F11);  // full screen: the same screen, only larger
  EXPECT_TRUE(w.widget->windowState() & Qt::WindowFullScreen);
  w.key(Qt::Key_F11);
  EXPECT_FALSE(w.widget->windowState() & Qt::WindowFullScreen);
  w.advance(60.0);
  EXPECT_TRUE(w.speech.entries().empty());
  EXPECT_TRUE(w.console.lines().empty());
  EXPECT_TRUE(w.screen->btnPlay->isUserInteractionEnabled());

  // A press on one button that is released over another taps where the finger lifts.
  QTest::mousePress(w.widget.get(), Qt::LeftButton, {}, w.widget->centreOf(w.button("9")));
  QTest::mouseRelease(w.widget.get(), Qt::LeftButton, {}, w.widget->centreOf(w.button("Play")));
  EXPECT_EQ(w.screen->_speed, 5);
  EXPECT_FALSE(w.screen->btnPlay->isUserInteractionEnabled());
}

}  // namespace
