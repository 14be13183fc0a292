#include "app/application_main.h"

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
  QuitRequest quitRequest;
  platform::Services services = host.services();
  services.idiom = settings.idiom;
  const platform::ServicesScope scope(services);

  auto delegate = makeDelegate();
  auto window = loadMainInterface(bundle);
  if (auto* screen = window->rootViewController()) applySettings(*screen, settings);
  delegate->setWindow(std::move(window));
  delegate->didFinishLaunchingWithOptions();
  delegate->window()->makeKeyAndVisible();
  const int exitCode = host.runMainLoop(*delegate->window());
  delegate->applicationWillTerminate();
  return exitCode;
}

}  // namespace app
