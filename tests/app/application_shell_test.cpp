// Launch, a whole game and termination through the application main, on a virtual clock, with the
// store stack that nothing uses.
#include <poll.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "app/application_main.h"
#include "app/quit_request.h"
#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/touch.h"

namespace {

namespace fs = std::filesystem;

// A host whose main loop is the test's own function, on a virtual clock; the delegate traces the
// store parts it builds and writes its errors here.
class TestHost : public app::ApplicationHost {
 public:
  explicit TestHost(std::function<void(TestHost&, app::Window&)> loop) : loop_(std::move(loop)) {}
  platform::Services services() override { return {&clock, &speech, &alerts, &console, &random}; }
  int runMainLoop(app::Window& window) override {
    loop_(*this, window);
    return 0;
  }
  int run(const app::Bundle& bundle = app::Bundle::mainBundle()) {
    return app::applicationMain(*this, {}, bundle, [this, &bundle] {
      return std::make_unique<app::AppDelegate>(app::DelegateEnvironment{
          &bundle,
          [this] {
            return std::vector<fs::path>{"/elsewhere", documents};
          },
          &errors, [this](std::string_view part) { built.emplace_back(part); }});
    });
  }

  platform::VirtualRunLoop clock;
  platform::TranscriptSpeechEngine speech;
  platform::RecordingAlertPresenter alerts;
  platform::RecordingConsole console;
  platform::SeededRandomSource random{11};
  std::vector<std::string> built;
  std::ostringstream errors;
  fs::path documents = fs::path(testing::TempDir()) / "vorlix-documents";

 private:
  std::function<void(TestHost&, app::Window&)> loop_;
};

void playWholeGame(TestHost& host, app::Window& window) {
  ViewController& screen = *window.rootViewController();
  ASSERT_EQ(platform::tapButtonTitled(screen.view(), "Play"), platform::TapOutcome::reached);
  ASSERT_TRUE(host.clock.runUntilIdle(std::chrono::hours(1)));
  EXPECT_EQ(screen._randomNumbers.size(), 90u);
  ASSERT_EQ(host.alerts.shown().size(), 1u);
  EXPECT_EQ(host.alerts.shown().front()->title(), "Success!");
}

TEST(ApplicationShell, TheStoreIsBuiltOnceOnlyAtTerminationInOrderAndNothingIsSaved) {
  std::vector<std::string> builtWhileRunning{"not run"};
  TestHost host([&](TestHost& self, app::Window& window) {
    builtWhileRunning = self.built;
    playWholeGame(self, window);
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
    TestHost host(playWholeGame);
    EXPECT_EQ(host.run(app::Bundle(dir)), 0);
    const std::string said = host.errors.str();
    EXPECT_NE(said.find(complaint), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(host.built, (std::vector<std::string>{"model", "coordinator", "context"}));
  }
}

// SIGTERM (and Ctrl-C) only ask the loop to end; the delegate still hears of the termination.
TEST(ApplicationShell, ASignalEndsTheMainLoopAndTheApplicationStillTerminates) {
  bool woken = false;
  TestHost host([&](TestHost&, app::Window&) {
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
