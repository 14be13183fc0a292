// Launch, a whole game and termination through the application main, on a virtual clock, with the
// store stack that nothing uses.
#include <poll.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "app/app_delegate.h"
#include "app/quit_request.h"
#include "tests/support/loop_host.h"

namespace {

namespace fs = std::filesystem;

// A host on a virtual clock whose delegate traces the store parts it builds and writes its errors
// here.
class TestHost : public LoopHost {
 public:
  using LoopHost::LoopHost;
  int run(const app::Bundle& bundle = app::Bundle::mainBundle(),
          const app::ScreenSettings& settings = {}) {
    return app::applicationMain(*this, settings, bundle, [this, &bundle] {
      return std::make_unique<app::AppDelegate>(app::DelegateEnvironment{
          &bundle,
          [this] {
            return std::vector<fs::path>{"/elsewhere", documents};
          },
          &errors, [this](std::string_view part) { built.emplace_back(part); }});
    });
  }

  std::vector<std::string> built;
  std::ostringstream errors;
  fs::path documents = fs::path(testing::TempDir()) / "vorlix-documents";
};

void playWholeGame(LoopHost& host, app::Screen& screen) {
  ASSERT_EQ(screen.press("Play"), app::PressOutcome::pressed);
  ASSERT_TRUE(host.clock.runUntilIdle(std::chrono::hours(1)));
  EXPECT_EQ(screen.snapshot().phase, app::GamePhase::completed);
  EXPECT_EQ(host.alerts.shown().size(), 1u);
}

TEST(ApplicationShell, TheStoreIsBuiltOnceOnlyAtTerminationInOrderAndNothingIsSaved) {
  std::vector<std::string> builtWhileRunning{"not run"};
  TestHost host([&](app::Screen& window) {
    builtWhileRunning = host.built;
    playWholeGame(host, window);
  });
  EXPECT_EQ(host.run(), 0);
  EXPECT_TRUE(builtWhileRunning.empty());
  EXPECT_EQ(host.built,
            (std::vector<std::string>{"model", "coordinator", "documents directory", "context"}));
  EXPECT_EQ(host.errors.str(), "");
  for (const auto& line : host.console.lines()) EXPECT_NE(line, "Unresolved error");
  EXPECT_FALSE(fs::exists(host.documents / "Vorlix.sqlite"));
}

TEST(ApplicationShell, AMissingOrUnreadableModelIsSaidOnceAndTheGameGoesOn) {
  const fs::path dir = fs::path(testing::TempDir()) / "vorlix-broken-bundle";
  fs::create_directories(dir);
  fs::copy_file(app::Bundle::mainBundle().directory() / "Main.interface", dir / "Main.interface",
                fs::copy_options::overwrite_existing);
  for (const auto& [modelText, complaint] :
       {std::pair{"", "Vorlix.momd is missing; carrying on without a store\n"},
        std::pair{"garbage\n", "Vorlix.momd is not a data model"}}) {
    SCOPED_TRACE(complaint);
    fs::remove(dir / "Vorlix.momd");
    if (*modelText != '\0') std::ofstream(dir / "Vorlix.momd") << modelText;
    TestHost host([&](app::Screen& window) { playWholeGame(host, window); });
    EXPECT_EQ(host.run(app::Bundle(dir)), 0);
    const std::string said = host.errors.str();
    EXPECT_NE(said.find(complaint), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(host.built, (std::vector<std::string>{"model", "coordinator", "context"}));
  }
}

// A window attaches the game record once its first frame is up; a key pressed before then (this
// host never says the screen is shown) finds the record attached all the same, and the whole game
// is kept.
TEST(ApplicationShell, AGameBegunBeforeTheScreenIsShownIsKeptWhole) {
  const fs::path file = fs::path(testing::TempDir()) / "vorlix-early-input.sqlite";
  fs::remove(file);
  app::ScreenSettings settings;
  settings.keeping.keep = true;
  settings.keeping.file = file;
  settings.keeping.opening = std::make_shared<app::RecordOpening>(file);
  TestHost host([&](app::Screen& window) { playWholeGame(host, window); });
  EXPECT_EQ(host.run(app::Bundle::mainBundle(), settings), 0);
  EXPECT_EQ(host.errors.str(), "");
  settings.keeping.opening.reset();
  const auto games = app::GameRecord::open(file, app::GameRecord::Access::reader)->games();
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].ending, app::GameEnding::completed);
  EXPECT_EQ(games[0].ballsCalled, 90);
}

// SIGTERM (and Ctrl-C) only ask the loop to end; the delegate still hears of the termination.
TEST(ApplicationShell, ASignalEndsTheMainLoopAndTheApplicationStillTerminates) {
  bool woken = false;
  TestHost host([&](app::Screen&) {
    std::raise(SIGTERM);
    pollfd quit{app::QuitRequest::fileDescriptor(), POLLIN, 0};
    woken = ::poll(&quit, 1, 10000) == 1 && app::QuitRequest::requested();
  });
  EXPECT_EQ(host.run(), 0);
  EXPECT_TRUE(woken);
  EXPECT_EQ(host.built.size(), 4u);
  EXPECT_FALSE(app::QuitRequest::requested());
}

}  // namespace
