// What the terminal caller draws: the whole screen at the smallest size it takes, readable
// buttons, plain text where colours are not wanted, and the speech's state in whole words.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <type_traits>

#include "app/application_main.h"
#include "hosts/common/transcript.h"
#include "hosts/terminal/screen_text.h"
#include "support/program_run.h"
#include "tests/support/loop_host.h"

namespace {

// A game under way with the Re-start question open and a recall marked.
app::ScreenSnapshot gameWithQuestion() {
  app::ScreenSnapshot shown;
  LoopHost host([&](app::Screen& screen) {
    screen.press("Play");
    host.clock.advanceBySeconds(40.0);
    screen.press("ALL");
    screen.press("Re-start");
    shown = screen.snapshot();
  });
  app::applicationMain(host, {});
  return shown;
}

std::string visible(const std::string& line) {
  return std::regex_replace(line, std::regex("\x1b\\[[0-9;?]*[A-Za-z]"), "");
}

terminal::CallerStatus statusWithNote(std::string note) {
  terminal::CallerStatus status;
  const app::ScreenSnapshot screen = gameWithQuestion();
  const auto& alert = screen.openAlerts.back();
  status.prompt = terminal::Prompt{alert.title, alert.message, alert.buttons};
  status.lastSpoken = "Single number 7";
  status.speechNote = std::move(note);
  return status;
}

TEST(TerminalScreen, TheSmallestTerminalShowsEverythingOnOneScreenInEitherMode) {
  const auto screen = gameWithQuestion();
  const auto status = statusWithNote("pulse");
  for (const auto colours : {terminal::Colours::on, terminal::Colours::off}) {
    const auto lines = screenLines(screen, status, terminal::kSmallestTerminal, colours);
    ASSERT_LE(lines.size(), static_cast<std::size_t>(terminal::kSmallestTerminal.rows));
    EXPECT_EQ(visible(lines.front()), " " + screen.title) << "the title comes first";
    std::string all;
    for (const auto& line : lines) {
      EXPECT_LT(visible(line).size(), static_cast<std::size_t>(terminal::kSmallestTerminal.columns))
          << visible(line);
      all += visible(line) + "\n";
      if (colours == terminal::Colours::off) {
        EXPECT_EQ(line.find('\x1b'), std::string::npos) << line;
      }
    }
    for (const std::string shown : {"Re-start", "Remaining Numbers", "0:10", "Space:Pause",
                                    "Speed: 5", "[Y] Yes", "[N] No", "Speech: pulse"})
      EXPECT_NE(all.find(shown), std::string::npos) << shown << " in\n" << all;
    EXPECT_EQ(all.find("Log:"), std::string::npos) << "console lines stay off the board";
    EXPECT_EQ(all.find("0 10"), std::string::npos);
  }
}

// The selected recall and speed: black text on orange, never bold (shown grey by many themes).
TEST(TerminalScreen, MarkedButtonsAreBlackOnOrange) {
  const auto lines = screenLines(gameWithQuestion(), statusWithNote("pulse"), {100, 30});
  std::string panel;
  for (const auto& line : lines) panel += line;
  const std::string blackOnOrange = "\x1b[38;5;16;48;5;208m";
  EXPECT_NE(panel.find(blackOnOrange + " \x1b[4mA:"), std::string::npos) << "ALL is marked";
  EXPECT_NE(panel.find(blackOnOrange + " 5 "), std::string::npos) << "speed 5 is marked";
  EXPECT_EQ(panel.find("1;30;48;5;208"), std::string::npos);
}

// A long note about the speech is broken between words, never inside one.
TEST(TerminalScreen, ALongSpeechNoteWrapsBetweenWords) {
  const std::string note =
      "alsa (the sound device default could not be opened: Device or resource busy; nothing "
      "will be heard until it is free again)";
  const auto lines = screenLines(gameWithQuestion(), statusWithNote(note), {100, 30});
  auto line = std::find_if(lines.begin(), lines.end(),
                           [](const auto& l) { return l.rfind(" Speech:", 0) == 0; });
  ASSERT_NE(line, lines.end());
  std::string joined;
  for (; line != lines.end() && visible(*line).rfind(" Keys", 0) != 0; ++line) {
    EXPECT_LT(line->size(), 100u);
    joined += line->substr(1) + " ";
  }
  EXPECT_EQ(joined, "Speech: " + note + " ");
}

// The voice list marks one default voice.
TEST(ProgramTexts, TheVoiceList) {
  const ProgramRun voices = runProgram("--list-voices");
  ASSERT_EQ(voices.exitCode, 0);
  EXPECT_EQ(voices.out.rfind("Voice (--voice takes the name or a language)  Languages\n", 0), 0u);
  const auto marked = voices.out.find("  (default)\n");
  ASSERT_NE(marked, std::string::npos);
  EXPECT_EQ(voices.out.find("(default)", marked + 3), std::string::npos) << "one default";
  const auto lineStart = voices.out.rfind('\n', marked) + 1;
  EXPECT_EQ(voices.out.substr(lineStart, marked - lineStart), "English (Great Britain)  en-gb en");

  // A program whose speech module is not beside it says so in one sentence, and plays silent.
  const std::string alone = testing::TempDir() + "vorlix-alone-" + std::to_string(::getpid());
  std::filesystem::create_directories(alone);
  const std::filesystem::path program(VORLIX_CALLER);
  for (const char* file : {"vorlix-caller", "Main.interface", "Vorlix.momd"})
    std::filesystem::copy(program.parent_path() / file, alone + "/" + file,
                          std::filesystem::copy_options::overwrite_existing |
                              std::filesystem::copy_options::recursive);
  const ProgramRun lost = runShell(alone + "/vorlix-caller --list-voices");
  EXPECT_EQ(lost.exitCode, 2);
  EXPECT_NE(lost.err.find("libvorlix-sound.so is not beside the program"), std::string::npos)
      << lost.err;
  EXPECT_EQ(runShell(alone + "/vorlix-caller --script - --silent", "tap Play\n").exitCode, 0);
  std::filesystem::remove_all(alone);
}

// A change to any one view, the last one included, is one transcript line naming that view.
TEST(TranscriptWriter, SeesAChangeToEveryViewTheLastIncluded) {
  const app::ScreenSnapshot before = gameWithQuestion();
  ASSERT_GT(before.views.size(), 100u);
  for (std::size_t i = 0; i < before.views.size(); ++i) {
    app::ScreenSnapshot after = before;
    std::string named;
    std::visit(
        [&named](auto& look) {
          using Look = std::decay_t<decltype(look)>;
          if constexpr (std::is_same_v<Look, app::CellLook>) {
            look.colour = platform::Color{0.1, 0.2, 0.3, 1.0};
            look.state = app::CellState::other;
            named = "cell " + std::to_string(look.number) + " ";
          } else if constexpr (std::is_same_v<Look, app::ControlLook>) {
            look.live = !look.live;
            named = "button " + look.title + " ";
          } else {
            look.text += " changed";
            named = "label " + look.text;
          }
        },
        after.views[i]);
    const auto lines = hostkit::lookChanges(before, after);
    ASSERT_EQ(lines.size(), 1u) << "view " << i << " of " << before.views.size();
    EXPECT_EQ(lines.front().rfind(named, 0), 0u) << lines.front();
  }
}

}  // namespace
