// Long random scripts in process: whatever the taps, answers and waits, every transcript line
// follows the format, time never runs backwards, and the cell lines alone rebuild exactly the board
// that each `board` command prints (no colour change goes unreported, none is reported twice).
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <regex>
#include <sstream>

#include "app/application_main.h"
#include "hosts/terminal/script_host.h"

namespace {

const std::vector<std::string> kTitles = {"Play", "Pause", "Re-start",          "L2", "L3", "L5",
                                          "L10",  "ALL",   "Remaining Numbers", "2",  "5",  "10"};

// Taps, waits, board prints and answers, with an answer only where the restart question is on
// screen (a Re-start tap under the open question is refused, so it asks nothing more).
std::string randomScript(std::mt19937& random, int length) {
  std::string script;
  bool asked = false;
  for (int i = 0; i < length; ++i) {
    const auto choice = random() % 6;
    if (choice == 0 && asked) {
      script += random() % 2 ? "answer Yes\n" : "answer No\n";
      asked = false;
    } else if (choice == 1) {
      script += "board\n";
    } else if (choice == 2) {
      script +=
          "wait " + std::to_string(random() % 40) + "." + std::to_string(random() % 10) + "\n";
    } else if (choice > 2) {
      const std::string& title = kTitles[random() % kTitles.size()];
      asked = asked || title == "Re-start";
      script += "tap " + title + "\n";
    }
  }
  return script + "until-idle\nboard\n";
}

TEST(TranscriptInvariants, HoldOverLongRandomScripts) {
  const std::regex line(
      R"(^\d+\.\d{3} (ready|say .+|log .+|title .+|cell \d+ (unfilled|just-filled|filled))"
      R"(|button .+ (black|gray|orange|rgba\([^)]*\)) (live|inert)|label .+)"
      R"(|alert [^|]+ \| [^|]+ \| .+|tap .+|tap-ignored .+|answer .+|board (just-filled|filled|unfilled):( \d+)*)$)");
  std::mt19937 random(20261206);
  for (int run = 0; run < 40; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    std::istringstream script(randomScript(random, 60));
    platform::SeededRandomSource draw(static_cast<std::uint64_t>(run));
    std::ostringstream transcript, errors;
    terminal::ScriptHost host(terminal::parseScript(script),
                              terminal::ScriptHost::Clock::virtualTime, draw, transcript, errors);
    ASSERT_EQ(app::applicationMain(host, {}), 0) << errors.str();

    std::map<int, std::string> board;
    for (int n = 1; n <= 90; ++n) board[n] = "unfilled";
    double lastTime = 0.0;
    std::istringstream lines(transcript.str());
    for (std::string text; std::getline(lines, text);) {
      ASSERT_TRUE(std::regex_match(text, line)) << text;
      std::istringstream words(text);
      double time = 0.0;
      std::string kind;
      words >> time >> kind;
      ASSERT_GE(time, lastTime) << text;
      lastTime = time;
      if (kind == "cell") {
        int n = 0;
        words >> n >> board[n];
      } else if (kind == "board") {
        std::string group;
        words >> group;
        group.pop_back();  // the colon
        for (int n; words >> n;) EXPECT_EQ(board[n], group) << "cell " << n << " in " << text;
      }
    }
  }
}

}  // namespace
