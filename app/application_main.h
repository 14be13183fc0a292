#pragma once

#include <functional>
#include <memory>

#include "app/bundle.h"
#include "app/game_keeping.h"
#include "app/screen.h"
#include "platform/font.h"
#include "platform/services.h"

namespace app {

class AppDelegate;

// How the host lays out and sets up the one screen.
struct ScreenSettings {
  double width = 320.0;  // points; the board fills the width
  platform::UserInterfaceIdiom idiom = platform::UserInterfaceIdiom::phone;
  bool silent = false;       // speak nothing, everything else as usual
  bool repeatTwice = false;  // call each new number twice in a row
  KeepingSettings keeping;   // whether and where the games are kept, and resumed
};

// What runs the application: a desktop window, a terminal, a script.
class ApplicationHost {
 public:
  virtual ~ApplicationHost() = default;
  // The facilities the screen reaches while the application runs. Every one must be there: the
  // application refuses to start without (platform/stand_ins.h has named stand-ins).
  virtual platform::Services services() = 0;
  // Runs the main loop with the screen on show until the user quits (or a quit is requested,
  // see QuitRequest); returns the process's exit code.
  virtual int runMainLoop(Screen& screen) = 0;
};

using DelegateFactory = std::function<std::unique_ptr<AppDelegate>()>;

// The process entry's one call: creates the delegate, builds the window from the bundle's main
// interface description, hands it to the delegate, tells it that launching has finished, runs the
// host's main loop and, when that ends normally (Ctrl-C and SIGTERM included), tells the delegate
// that the application terminates. Throws InterfaceError when the interface cannot be built, and
// std::logic_error when the host left a service out. Without `makeDelegate`, the usual delegate.
int applicationMain(ApplicationHost& host, const ScreenSettings& settings,
                    const Bundle& bundle = Bundle::mainBundle(),
                    const DelegateFactory& makeDelegate = {});

}  // namespace app
