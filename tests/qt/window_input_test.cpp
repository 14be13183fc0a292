// Clicks and keys on the window play the game exactly as the same taps do on the screen itself.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "hosts/terminal/script.h"
#include "hosts/terminal/script_runner.h"
#include "hosts/terminal/transcript.h"

#include "window_harness.h"

namespace {

const std::vector<std::uint32_t> kDraws = {7, 45, 12, 88, 3, 60, 21, 34, 90, 1};

// Everything the game did that a person could notice, for comparing two runs.
struct GameRecord {
  std::vector<std::pair<double, std::string>> spoken;
  std::vector<std::string> consoleLines;
  std::vector<std::string> drawn;
  std::vector<std::string> looks;  // every cell and button colour, the label and the title

  bool operator==(const GameRecord&) const = default;
};

GameRecord record(ViewController& screen, const platform::TranscriptSpeechEngine& speech,
                  const platform::RecordingConsole& console) {
  GameRecord r;
  for (const auto& e : speech.entries())
    r.spoken.emplace_back(platform::durationToSeconds(e.at), e.text);
  r.consoleLines = console.lines();
  r.drawn = screen._randomNumbers;
  for (const auto& view : screen.view().subviews()) {
    const auto c = view->backgroundColor().value_or(platform::Color::clearColor());
    std::string look = std::to_string(c.red) + "," + std::to_string(c.green) + "," +
                       std::to_string(c.blue) + "," + std::to_string(c.alpha) + "," +
                       std::to_string(view->isUserInteractionEnabled());
    if (auto* label = dynamic_cast<platform::Label*>(view.get())) look += *label->text();
    r.looks.push_back(look);
  }
  r.looks.push_back(screen.title());
  return r;
}

// One game: Pause while nothing runs (ignored, when asked for), Play, a speed change, a recall,
// Play again, Pause.
using Step = std::function<void(const std::string& title)>;
void playTheGame(const Step& press, const std::function<void(double)>& advance,
                 bool pauseFirst = true) {
  if (pauseFirst) press("Pause");
  press("Play");
  advance(20.0);
  press("7");
  advance(15.0);
  press("L3");
  advance(40.0);
  press("Play");
  advance(30.0);
  press("Pause");
  advance(10.0);
}

GameRecord tappedOnTheScreen() {
  ScreenHarness h({.presetDraws = kDraws});
  playTheGame([&](const std::string& title) { h.tap(title); }, [&](double s) { h.advance(s); });
  return record(h.vc(), h.speech, h.console);
}

TEST(WindowInput, ClicksAndKeysPlayTheGameExactlyAsTapsDo) {
  const GameRecord expected = tappedOnTheScreen();
  ASSERT_GT(expected.drawn.size(), 5u);

  // Clicks on a window of another shape than the screen: the mapping must undo the scaling and
  // the bars at the sides.
  WindowHarness clicked({.presetDraws = kDraws}, {1500, 700});
  playTheGame([&](const std::string& title) { clicked.click(title); },
              [&](double s) { clicked.advance(s); });
  EXPECT_EQ(clicked.screen->_randomNumbers, expected.drawn);
  EXPECT_TRUE(record(*clicked.screen, clicked.speech, clicked.console) == expected);

  // Space is Play or Pause, whichever takes taps; a Pause key before the game would start it.
  const std::map<std::string, Qt::Key> keys = {
      {"Play", Qt::Key_Space}, {"Pause", Qt::Key_Space}, {"7", Qt::Key_7}, {"L3", Qt::Key_F3}};
  WindowHarness typed({.presetDraws = kDraws}, {500, 900});
  playTheGame([&](const std::string& title) { typed.key(keys.at(title)); },
              [&](double s) { typed.advance(s); }, false);
  EXPECT_TRUE(record(*typed.screen, typed.speech, typed.console) == expected);
}

TEST(WindowInput, ClicksOutsideButtonsAndOnInertButtonsChangeNothing) {
  WindowHarness w({.presetDraws = kDraws}, {1600, 600});
  const GameRecord before = record(*w.screen, w.speech, w.console);
  QTest::mouseClick(w.widget.get(), Qt::LeftButton, {}, QPoint(10, 300));  // the bar at the side
  QTest::mouseClick(w.widget.get(), Qt::LeftButton, {}, w.widget->centreOf(w.cell(45)));
  w.click("Pause");  // grey: it takes no taps before the game runs
  QTest::mouseClick(w.widget.get(), Qt::RightButton, {}, w.widget->centreOf(w.button("Play")));
  w.key(Qt::Key_Z);
  w.key(Qt::Key_F11);  // full screen: the same screen, only larger
  EXPECT_TRUE(w.widget->windowState() & Qt::WindowFullScreen);
  w.key(Qt::Key_F11);
  EXPECT_FALSE(w.widget->windowState() & Qt::WindowFullScreen);
  EXPECT_TRUE(record(*w.screen, w.speech, w.console) == before);

  // A press on one button that is released over another taps where the finger lifts.
  QTest::mousePress(w.widget.get(), Qt::LeftButton, {}, w.widget->centreOf(w.button("9")));
  QTest::mouseRelease(w.widget.get(), Qt::LeftButton, {}, w.widget->centreOf(w.button("Play")));
  EXPECT_EQ(w.screen->_speed, 5);
  EXPECT_FALSE(w.screen->btnPlay->isUserInteractionEnabled());
}

}  // namespace

namespace {

const char* const kScript = R"(tap Pause
tap Play
wait 20
tap 7
wait 15
tap L3
wait 40
tap Play
wait 30
tap Pause
wait 10
)";

// The script's transcript without its own tap lines, which a window's clicks do not write.
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
  std::istringstream script(kScript);
  terminal::ScriptRunner(screen, recorder,
                         {[&](platform::Duration d) { loop.advanceBy(d); },
                          [&](platform::Duration d) { loop.runUntilIdle(d); }})
      .run(terminal::parseScript(script));
  loop.setAfterEventHook(nullptr);
  return withoutTapLines(out.str());
}

TEST(WindowInput, ClickedGameWritesTheTranscriptOfTheSameScript) {
  const std::string expected = scriptedTranscript();
  ASSERT_NE(expected.find("say Single number"), std::string::npos);

  // The window's speech and console lines go to a transcript on the window's own clock.
  struct Forward : platform::SpeechEngine, platform::Console {
    terminal::TranscriptRecorder* to = nullptr;
    void speak(const platform::SpeechUtterance& u, platform::Duration at) override {
      to->speak(u, at);
    }
    void writeLine(std::string_view line) override { to->writeLine(line); }
  } forward;
  WindowHarness w({.presetDraws = kDraws}, {1200, 800}, &forward, &forward);
  std::ostringstream out;
  terminal::TranscriptRecorder recorder(out, w.loop);
  forward.to = &recorder;
  recorder.attach(*w.screen);
  w.loop.setAfterEventHook([&] {
    w.widget->screenChanged();
    recorder.eventHandled();
  });
  w.widget->setAfterInputHook([&] { recorder.eventHandled(); });

  std::istringstream script(kScript);
  for (const auto& command : terminal::parseScript(script)) {
    if (command.kind == terminal::ScriptCommand::Kind::tap) w.click(command.title);
    if (command.kind == terminal::ScriptCommand::Kind::wait) w.advance(command.seconds);
  }
  EXPECT_EQ(out.str(), expected);
}

}  // namespace
