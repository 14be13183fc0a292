#include "app/application_main.h"

#include <optional>

#include "app/app_delegate.h"
#include "app/interface_error.h"
#include "app/main_interface.h"
#include "app/quit_request.h"

namespace app {
namespace {

constexpr double kPhoneHeight = 568.0;
constexpr double kPadHeight = 1024.0;

void applySettings(ViewController& screen, const ScreenSettings& settings) {
  const bool pad = settings.idiom == platform::UserInterfaceIdiom::pad;
  screen.setInitialViewFrame({0.0, 0.0, settings.width, pad ? kPadHeight : kPhoneHeight});
  screen.setDebug(settings.silent);
  screen.setRepeat2Times(settings.repeatTwice);
}

// The game record the delegate's store stack carries, when the run keeps its games.
GameRecord* attachedRecord(AppDelegate& delegate, const KeepingSettings& keeping) {
  if (!keeping.keep) return nullptr;
  delegate.attachStoreWhenBuilt(keeping.file, keeping.opening);
  const auto& coordinator = delegate.persistentStoreCoordinator();
  return coordinator ? coordinator->persistentStore().get() : nullptr;
}

// After every event (a timer firing, an input, and before each line is handed to speech, so a
// number drawn is kept before it is heard) the game record is shown the screen.
class KeepingHooks {
 public:
  KeepingHooks(GameKeeping& keeping, Screen& screen, OutputWatch& outputs)
      : screen_(screen), outputs_(outputs) {
    const auto observe = [&keeping, &screen] {
      if (keeping.keeping()) keeping.observe(screen.snapshot());
    };
    platform::mainRunLoop().setApplicationHook(observe);
    outputs.setBeforeSpeaking(observe);
    screen.setAfterInput(observe);
  }
  ~KeepingHooks() {
    platform::mainRunLoop().setApplicationHook(nullptr);
    outputs_.setBeforeSpeaking(nullptr);
    screen_.setAfterInput(nullptr);
  }
  KeepingHooks(const KeepingHooks&) = delete;
  KeepingHooks& operator=(const KeepingHooks&) = delete;

 private:
  Screen& screen_;
  OutputWatch& outputs_;
};

// Attaches the record the run keeps its games in and offers back the unfinished game it holds.
void keepGames(GameKeeping& keeping, AppDelegate& delegate, const KeepingSettings& settings,
               ViewController& controller) {
  keeping.attach(attachedRecord(delegate, settings));
  if (!keeping.unfinished()) return;
  if (settings.resume == ResumeChoice::resume) keeping.resume(controller);
  if (settings.resume == ResumeChoice::ask) keeping.ask(controller);
}

}  // namespace

int applicationMain(ApplicationHost& host, const ScreenSettings& settings, const Bundle& bundle,
                    const DelegateFactory& makeDelegate) {
  platform::Services services = host.services();
  services.idiom = settings.idiom;
  platform::requireComplete(services);
  OutputWatch outputs(services);
  QuitRequest quitRequest;
  const platform::ServicesScope scope(outputs.services());

  const auto tellHost = [&outputs](const std::string& sentence) { outputs.addNotice(sentence); };
  DelegateEnvironment environment;
  environment.storeProblem = tellHost;
  auto delegate =
      makeDelegate ? makeDelegate() : std::make_unique<AppDelegate>(std::move(environment));
  auto window = loadMainInterface(bundle);
  if (auto* controller = window->rootViewController()) applySettings(*controller, settings);
  delegate->setWindow(std::move(window));
  delegate->didFinishLaunchingWithOptions();
  delegate->window()->makeKeyAndVisible();
  ViewController* controller = delegate->window()->rootViewController();
  if (controller == nullptr) throw InterfaceError("the main interface has no screen to show");
  Screen screen(*controller, outputs);
  GameKeeping keeping(settings.keeping.drawSource, tellHost,
                      [] { return platform::mainRunLoop().now(); });
  std::optional<KeepingHooks> hooks;  // nothing to keep, nothing to look at
  if (settings.keeping.keep) {
    hooks.emplace(keeping, screen, outputs);
    screen.keepClaimsIn(&keeping.recorder());
  }
  // A game resumed at launch is on the first frame. Otherwise the record is attached once the
  // screen is up, before its first input, so that a window's first frame does not wait for it.
  const auto attach = [&] { keepGames(keeping, *delegate, settings.keeping, *controller); };
  if (settings.keeping.resume == ResumeChoice::resume)
    attach();
  else
    screen.setWhenShown(attach);
  const int exitCode = host.runMainLoop(screen);
  delegate->applicationWillTerminate();
  return exitCode;
}

}  // namespace app
