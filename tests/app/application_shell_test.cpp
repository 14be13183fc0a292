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

#include "app/app_delegate.h"
#include "app/application_main.h"
#include "app/quit_request.h"
#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/services.h"
#include "platform/stand_ins.h"

namespace {

namespace fs = std::filesystem;

// A host whose main loop is the test's own function, on a virtual clock; the delegate traces the
// store parts it builds and writes its errors here.
class TestHost : public app::ApplicationHost {
 public:
  explicit TestHost(std::function<void(TestHost&, app::Screen&)> loop) : loop_(std::move(loop)) {}
  platform::Services services() override { return {&clock, &speech, &alerts, &console, &random}; }
  int runMainLoop(app::Screen& screen) override {
    loop_(*this, screen);
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
  std::function<void(TestHost&, app::Screen&)> loop_;
};

void playWholeGame(TestHost& host, app::Screen& screen) {
  ASSERT_EQ(screen.press("Play"), app::PressOutcome::pressed);
  ASSERT_TRUE(host.clock.runUntilIdle(std::chrono::hours(1)));
  const app::ScreenSnapshot done = screen.snapshot();
  EXPECT_EQ(done.calledInOrder.size(), 90u);
  EXPECT_EQ(done.phase, app::GamePhase::completed);
  EXPECT_EQ(done.lastSpoken,
            "Please keep silence! Vorlix successfully completed! Congratulations for all winners");
  ASSERT_EQ(done.openAlerts.size(), 1u);
  EXPECT_EQ(done.openAlerts.front().title, "Success!");
  ASSERT_EQ(host.alerts.shown().size(), 1u);
  EXPECT_EQ(host.alerts.shown().front()->title(), "Success!");
}

TEST(ApplicationShell, TheStoreIsBuiltOnceOnlyAtTerminationInOrderAndNothingIsSaved) {
  std::vector<std::string> builtWhileRunning{"not run"};
  TestHost host([&](TestHost& self, app::Screen& window) {
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
  TestHost host([&](TestHost&, app::Screen&) {
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

// A host that leaves a service out is refused before anything runs, naming what is missing.
TEST(ApplicationShell, AHostWithoutASpeechEngineOrAlertsIsRefusedAtStart) {
  bool ran = false;
  TestHost host([&](TestHost&, app::Screen&) { ran = true; });
  struct Forgetful : app::ApplicationHost {
    TestHost& inner;
    explicit Forgetful(TestHost& h) : inner(h) {}
    platform::Services services() override {
      platform::Services partial = inner.services();
      partial.speechEngine = nullptr;
      partial.alertPresenter = nullptr;
      return partial;
    }
    int runMainLoop(app::Screen& screen) override { return inner.runMainLoop(screen); }
  } forgetful(host);
  try {
    app::applicationMain(forgetful, {});
    ADD_FAILURE() << "a host without speech or alerts was let run";
  } catch (const std::logic_error& error) {
    EXPECT_NE(std::string(error.what()).find("speech engine, alert presenter"), std::string::npos)
        << error.what();
  }
  EXPECT_FALSE(ran);
  EXPECT_THROW(platform::speechEngine(), std::logic_error);  // nothing installed outside a run
}
