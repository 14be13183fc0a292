#pragma once

#include "platform/font.h"

namespace platform {

class RunLoop;
class SpeechEngine;
class AlertPresenter;
class Console;
class RandomSource;

// The process-wide facilities a screen reaches without being handed them, as it would on a
// device: the main run loop, the speech engine, the alert presenter, the console, the random
// source and the device idiom. A host (or a test) installs its own with a ServicesScope. There are
// no silent defaults: reaching a service nobody installed is an error (std::logic_error), and
// applicationMain refuses a host that leaves one out. The stand-ins a host or test may install
// on purpose are in platform/stand_ins.h.
struct Services {
  RunLoop* runLoop = nullptr;
  SpeechEngine* speechEngine = nullptr;
  AlertPresenter* alertPresenter = nullptr;
  Console* console = nullptr;
  RandomSource* random = nullptr;
  UserInterfaceIdiom idiom = UserInterfaceIdiom::phone;
};

// Installs a set of services for its lifetime and restores the previous set afterwards.
class ServicesScope {
 public:
  explicit ServicesScope(const Services& services);
  ~ServicesScope();
  ServicesScope(const ServicesScope&) = delete;
  ServicesScope& operator=(const ServicesScope&) = delete;

 private:
  Services previous_;
};

// Throws std::logic_error naming every service `services` leaves empty.
void requireComplete(const Services& services);

RunLoop& mainRunLoop();
SpeechEngine& speechEngine();
AlertPresenter& alertPresenter();
Console& console();
RandomSource& randomSource();
UserInterfaceIdiom currentIdiom();

}  // namespace platform
