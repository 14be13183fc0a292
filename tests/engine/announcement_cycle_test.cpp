#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "support/game_observer.h"
#include "support/screen_harness.h"

using std::chrono::milliseconds;

namespace {

using observe::drawing;
using observe::heard;
using observe::Heard;
using observe::kResume;
using observe::kWelcome;

constexpr const char* kPauseLine = "Game stopped! Please relax!";

std::string titleWith(const std::string& number) {
  return "Vorlix @ Korvanda Castle [" + number + "]";
}

}  // namespace

// A new game at speed 5: 7 then 45. Every item is handed over on the tick, the title and the
// board follow the first item of each number, never its draw.
TEST(AnnouncementCycle, WorkedRunAtSpeedFiveToTheMillisecond) {
  ScreenHarness h(drawing({7, 45}));
  ASSERT_EQ(h.tap("Play"), platform::TapOutcome::reached);
  EXPECT_EQ(heard(h), (Heard{{milliseconds(0), kWelcome}}));
  EXPECT_EQ(h.vc()._announcedNumber, "7");

  h.advance(5.999);
  EXPECT_EQ(h.speech.entries().size(), 1u);
  EXPECT_EQ(h.vc().title(), "Vorlix @ Korvanda Castle");
  EXPECT_EQ(h.cell(7).backgroundColor(), h.vc().color_un_filled);

  h.advance(0.001);  // 6 s: 7 is called, and 45 drawn at once for the next list
  EXPECT_EQ(h.vc().title(), titleWith("7"));
  EXPECT_EQ(h.cell(7).backgroundColor(), h.vc().color_just_filled);
  EXPECT_EQ(h.vc()._announcedNumber, "45");
  EXPECT_EQ(h.cell(45).backgroundColor(), h.vc().color_un_filled);

  h.advance(5.0);  // 11 s
  EXPECT_EQ(h.vc().title(), titleWith("45"));
  EXPECT_EQ(h.cell(45).backgroundColor(), h.vc().color_just_filled);
  EXPECT_EQ(h.cell(7).backgroundColor(), h.vc().color_just_filled);

  h.advance(4.0);  // 15 s: 45 is complete and the third number is drawn
  EXPECT_EQ(heard(h), (Heard{{milliseconds(0), kWelcome},
                             {milliseconds(6000), "Single number 7"},
                             {milliseconds(11000), "4"},
                             {milliseconds(13000), "5"},
                             {milliseconds(15000), "45"}}));
  EXPECT_EQ(observe::timerIntervals(h.console),
            (std::vector<std::string>{"6.0", "5.0", "2.0", "2.0", "2.0"}));
  for (const auto& entry : h.speech.entries()) EXPECT_EQ(entry.rate, 0.5f);
  EXPECT_EQ(h.vc()._randomNumbers.size(), 3u);
  EXPECT_EQ(h.loop.pendingTimerCount(), 1u);
}

// interval = 2 x pause x speed / 5, written as the shortest decimal that reads back the same,
// always with a decimal point.
TEST(AnnouncementCycle, IntervalTableAndItsConsoleLines) {
  struct Row {
    double pause;
    const char* atSpeed2;
    const char* atSpeed5;
    const char* atSpeed10;
  };
  const Row table[] = {{1.0, "0.8", "2.0", "4.0"},
                       {2.0, "1.6", "4.0", "8.0"},
                       {2.5, "2.0", "5.0", "10.0"},
                       {3.0, "2.4", "6.0", "12.0"}};
  ScreenHarness h;
  for (const Row& row : table) {
    for (auto [speedTitle, expected] : {std::pair{"2", row.atSpeed2}, std::pair{"5", row.atSpeed5},
                                        std::pair{"10", row.atSpeed10}}) {
      ASSERT_EQ(h.tap(speedTitle), platform::TapOutcome::reached);
      h.vc()._nextNumberDelay = row.pause;
      h.vc().scheduleAnnouncementTimer();
      EXPECT_EQ(h.console.lines().back(), std::string("timerInterval: ") + expected);
      EXPECT_EQ(h.vc()._timer->fireDate(), platform::secondsToDuration(std::stod(expected)))
          << "pause " << row.pause << " at speed " << speedTitle;
      h.vc()._timer->invalidate();
    }
  }

  // Through real games at every speed, including the odd ones (1.2, 8.4, ...): every line is a
  // plain decimal with a point, and each item is handed over exactly that long after the one
  // before.
  const std::regex plainDecimal(R"(\d+\.\d+)");
  for (int speed = 2; speed <= 10; ++speed) {
    ScreenHarness game;
    game.tap(std::to_string(speed));
    game.tap("Play");
    game.advance(100.0);
    const auto intervals = observe::timerIntervals(game.console);
    const auto& spoken = game.speech.entries();
    ASSERT_EQ(intervals.size(), spoken.size())
        << "one timer pending after the last item handed over";
    for (std::size_t i = 1; i < spoken.size(); ++i) {
      const std::string& interval = intervals[i - 1];
      EXPECT_TRUE(std::regex_match(interval, plainDecimal)) << interval << " at speed " << speed;
      EXPECT_EQ(spoken[i].at - spoken[i - 1].at, platform::secondsToDuration(std::stod(interval)))
          << "item " << i << " at speed " << speed;
    }
  }
}

// Paused while 45 is being called, resumed later: the first list after Play says 45 again in full
// before the new number, and the title and board already show the new number at its first item.
TEST(AnnouncementCycle, ResumeStartsWithTheNumberDrawnBefore) {
  ScreenHarness h(drawing({7, 45, 12}));
  h.tap("Play");
  h.advance(12.0);  // "4" of 45 spoken at 11 s
  ASSERT_EQ(h.tap("Pause"), platform::TapOutcome::reached);
  h.advance(8.0);
  ASSERT_EQ(h.tap("Play"), platform::TapOutcome::reached);  // 20 s
  h.advance(2.0);
  EXPECT_EQ(h.vc().title(), titleWith("12"));
  EXPECT_EQ(h.cell(12).backgroundColor(), h.vc().color_just_filled);
  h.advance(10.0);

  const Heard all = heard(h);
  const Heard afterPause(all.begin() + 3, all.end());
  EXPECT_EQ(afterPause, (Heard{{milliseconds(12000), kPauseLine},
                               {milliseconds(20000), kResume},
                               {milliseconds(22000), "4"},
                               {milliseconds(24000), "5"},
                               {milliseconds(26000), "45"},
                               {milliseconds(28000), "1"},
                               {milliseconds(30000), "2"},
                               {milliseconds(32000), "12"}}));
  EXPECT_EQ(h.vc()._randomNumbers,
            (std::vector<std::string>{"7", "45", "12", h.vc()._announcedNumber}));
}

// The screen can go away in the middle of a game (a host closing it): the timer it left armed is
// cancelled with it and never calls into it.
TEST(AnnouncementCycle, PendingTimerNeverFiresIntoADestroyedScreen) {
  ScreenHarness h;
  h.tap("Play");
  h.advance(7.5);
  ASSERT_EQ(h.loop.pendingTimerCount(), 1u);
  const std::size_t spokenBefore = h.speech.entries().size();
  const std::size_t linesBefore = h.console.lines().size();

  h.screen.reset();
  EXPECT_EQ(h.loop.pendingTimerCount(), 0u);
  h.advance(3600.0);
  EXPECT_EQ(h.speech.entries().size(), spokenBefore);
  EXPECT_EQ(h.console.lines().size(), linesBefore);
}

// The timer the cycle relies on: invalidation is final even when the deadline has already come
// (a firing at the same instant cancels the other), and a timer that has fired is spent.
TEST(AnnouncementCycle, OneShotTimersAreFinal) {
  platform::VirtualRunLoop loop;
  platform::ServicesScope scope({&loop});
  std::vector<std::string> fired;
  std::shared_ptr<platform::Timer> second;
  auto first = platform::Timer::scheduledTimer(1.0, [&] {
    fired.push_back("first");
    second->invalidate();
  });
  second = platform::Timer::scheduledTimer(1.0, [&] { fired.push_back("second"); });
  loop.advanceBySeconds(5.0);
  EXPECT_EQ(fired, std::vector<std::string>{"first"});
  EXPECT_FALSE(first->isValid());
  first->invalidate();
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
}
