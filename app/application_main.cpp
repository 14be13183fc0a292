#include "app/application_main.h"

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

}  // namespace

int applicationMain(ApplicationHost& host, const ScreenSettings& settings, const Bundle& bundle,
                    const DelegateFactory& makeDelegate) {
  platform::Services services = host.services();
  services.idiom = settings.idiom;
  platform::requireComplete(services);
  OutputWatch outputs(services);
  QuitRequest quitRequest;
  const platform::ServicesScope scope(outputs.services());

  auto delegate = makeDelegate ? makeDelegate() : std::make_unique<AppDelegate>();
  auto window = loadMainInterface(bundle);
  if (auto* controller = window->rootViewController()) applySettings(*controller, settings);
  delegate->setWindow(std::move(window));
  delegate->didFinishLaunchingWithOptions();
  delegate->window()->makeKeyAndVisible();
  ViewController* controller = delegate->window()->rootViewController();
  if (controller == nullptr) throw InterfaceError("the main interface has no screen to show");
  Screen screen(*controller, outputs);
  const int exitCode = host.runMainLoop(screen);
  delegate->applicationWillTerminate();
  return exitCode;
}

}  // namespace app
