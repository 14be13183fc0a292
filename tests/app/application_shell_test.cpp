// Launch, a game, and termination through the application main, on a virtual clock; the store
// stack that nothing uses; the main interface description.
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "app/application_main.h"
#include "app/main_interface.h"
#include "app/quit_request.h"
#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/run_loop.h"
#include "platform/speech.h"
#include "platform/touch.h"

namespace {

namespace fs = std::filesystem;

// A host whose main loop is the test's own function, on a virtual clock.
class TestHost : public app::ApplicationHost {
 public:
  explicit TestHost(std::function<void(app::Window&)> loop) : loop_(std::move(loop)) {}
  platform::Services services() override { return {&clock, &speech, &alerts, &console, &random}; }
  int runMainLoop(app::Window& window) override {
    loop_(window);
    return 0;
  }

  platform::VirtualRunLoop clock;
  platform::TranscriptSpeechEngine speech;
  platform::RecordingAlertPresenter alerts;
  platform::RecordingConsole console;
  platform::SeededRandomSource random{11};

 private:
  std::function<void(app::Window&)> loop_;
};

// What the delegate reached while the application ran.
struct Observed {
  std::vector<std::string> built;
  std::ostringstream errors;
  fs::path documents = fs::path(testing::TempDir()) / "vorlix-documents";

  app::DelegateFactory delegates(const app::Bundle& bundle) {
    return [this, &bundle] {
      return std::make_unique<app::AppDelegate>(app::DelegateEnvironment{
          &bundle,
          [this] {
            return std::vector<fs::path>{"/elsewhere", documents};
          },
          &errors, [this](std::string_view part) { built.emplace_back(part); }});
    };
  }
};

// Plays a whole game and checks it ended normally.
void playWholeGame(TestHost& host, app::Window& window) {
  ViewController& screen = *window.rootViewController();
  ASSERT_TRUE(screen.isViewLoaded());
  ASSERT_EQ(platform::tapButtonTitled(screen.view(), "Play"), platform::TapOutcome::reached);
  ASSERT_TRUE(host.clock.runUntilIdle(std::chrono::hours(1)));
  EXPECT_EQ(screen._randomNumbers.size(), 90u);
  ASSERT_EQ(host.alerts.shown().size(), 1u);
  EXPECT_EQ(host.alerts.shown().front()->title(), "Success!");
}

fs::path bundleWith(const std::string& name, const std::string& modelText) {
  const fs::path dir = fs::path(testing::TempDir()) / name;
  fs::create_directories(dir);
  fs::copy_file(app::Bundle::mainBundle().directory() / "Main.interface", dir / "Main.interface",
                fs::copy_options::overwrite_existing);
  fs::remove(dir / "Vorlix.momd");
  if (!modelText.empty()) std::ofstream(dir / "Vorlix.momd") << modelText;
  return dir;
}

TEST(ApplicationShell, TheStoreIsBuiltOnlyAtTerminationInOrderAndNothingIsSavedOrSaid) {
  Observed observed;
  std::vector<std::string> builtWhileRunning{"not run"};
  TestHost host([&](app::Window& window) {
    builtWhileRunning = observed.built;
    playWholeGame(host, window);
  });
  const app::Bundle& bundle = app::Bundle::mainBundle();
  EXPECT_EQ(app::applicationMain(host, {}, bundle, observed.delegates(bundle)), 0);

  EXPECT_TRUE(builtWhileRunning.empty());
  EXPECT_EQ(observed.built,
            (std::vector<std::string>{"model", "coordinator", "documents directory", "context"}));
  EXPECT_EQ(observed.errors.str(), "");
  for (const auto& line : host.console.lines()) EXPECT_NE(line, "Unresolved error");
  EXPECT_FALSE(fs::exists(observed.documents / "Vorlix.sqlite"));
}

TEST(ApplicationShell, EachStorePartIsBuiltOnceAndAnEmptyOneStaysEmpty) {
  Observed observed;
  const auto made = observed.delegates(app::Bundle::mainBundle())();
  app::AppDelegate& delegate = *made;
  const auto* context = delegate.managedObjectContext().get();
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(delegate.managedObjectContext().get(), context);
  EXPECT_EQ(delegate.persistentStoreCoordinator()->storeLocation(),
            observed.documents / "Vorlix.sqlite");
  delegate.applicationWillTerminate();
  delegate.applicationWillTerminate();
  EXPECT_EQ(observed.built.size(), 4u);
  EXPECT_FALSE(delegate.managedObjectContext()->hasChanges());
  EXPECT_EQ(delegate.managedObjectContext()->savesDone(), 0);

  // Without a documents folder the coordinator still stands, with no store location.
  int directoryLookups = 0;
  app::DelegateEnvironment noHome;
  noHome.documentDirectories = [&] {
    ++directoryLookups;
    return std::vector<fs::path>{};
  };
  app::AppDelegate homeless(noHome);
  ASSERT_NE(homeless.persistentStoreCoordinator(), nullptr);
  EXPECT_FALSE(homeless.persistentStoreCoordinator()->storeLocation().has_value());
  EXPECT_FALSE(homeless.applicationDocumentsDirectory().has_value());
  EXPECT_EQ(directoryLookups, 1);
}

TEST(ApplicationShell, AMissingOrUnreadableModelIsSaidOnceAndTheGameGoesOn) {
  struct Case {
    std::string modelText;
    std::string complaint;
  };
  for (const Case& broken : {Case{"", "Vorlix.momd is missing; carrying on without a store\n"},
                             Case{"garbage\n", "Vorlix.momd is not a data model"}}) {
    SCOPED_TRACE(broken.complaint);
    const app::Bundle bundle(bundleWith("vorlix-broken-bundle", broken.modelText));
    Observed observed;
    TestHost host([&](app::Window& window) { playWholeGame(host, window); });
    EXPECT_EQ(app::applicationMain(host, {}, bundle, observed.delegates(bundle)), 0);
    const std::string said = observed.errors.str();
    EXPECT_NE(said.find(broken.complaint), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(observed.built, (std::vector<std::string>{"model", "coordinator", "context"}));
  }
}

// SIGTERM (and Ctrl-C) only ask the loop to end; the delegate still hears of the termination.
TEST(ApplicationShell, ASignalEndsTheMainLoopAndTheApplicationStillTerminates) {
  Observed observed;
  bool woken = false;
  TestHost host([&](app::Window&) {
    std::raise(SIGTERM);
    pollfd quit{app::QuitRequest::fileDescriptor(), POLLIN, 0};
    woken = ::poll(&quit, 1, 10000) == 1 && app::QuitRequest::requested();
  });
  const app::Bundle& bundle = app::Bundle::mainBundle();
  EXPECT_EQ(app::applicationMain(host, {}, bundle, observed.delegates(bundle)), 0);
  EXPECT_TRUE(woken);
  EXPECT_EQ(observed.built.size(), 4u);
  EXPECT_FALSE(app::QuitRequest::requested());
}

TEST(MainInterface, BuildsTheOneScreenByDecodingAndRefusesAnythingElse) {
  auto window = app::windowFromDescription(
      "# the caller\nwindow\n  rootViewController ViewController\n  nibName Main\n");
  ASSERT_NE(window->rootViewController(), nullptr);
  EXPECT_EQ(window->rootViewController()->nibName(), "Main");
  EXPECT_FALSE(window->rootViewController()->isViewLoaded());

  for (const char* wrong : {"", "window\n  rootViewController SettingsScreen\n",
                            "window\n  rootViewController ViewController\nwindow\n",
                            "  rootViewController ViewController\n", "screen\n"}) {
    SCOPED_TRACE(wrong);
    EXPECT_THROW(app::windowFromDescription(wrong), app::InterfaceError);
  }
  const app::Bundle empty(fs::path(testing::TempDir()) / "vorlix-no-such-bundle");
  EXPECT_THROW(app::loadMainInterface(empty), app::InterfaceError);
}

}  // namespace
