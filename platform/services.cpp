#include "platform/services.h"

#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/run_loop.h"
#include "platform/speech.h"

namespace platform {
namespace {

Services& installed() {
  static Services services;
  return services;
}

// Without a host to show it, an alert is never seen and never answered.
class DiscardingAlertPresenter : public AlertPresenter {
 public:
  void present(const std::shared_ptr<AlertView>&) override {}
};

}  // namespace

ServicesScope::ServicesScope(const Services& services) : previous_(installed()) {
  installed() = services;
}

ServicesScope::~ServicesScope() { installed() = previous_; }

RunLoop& mainRunLoop() {
  static VirtualRunLoop fallback;
  return installed().runLoop ? *installed().runLoop : fallback;
}

SpeechEngine& speechEngine() {
  static SilentSpeechEngine fallback;
  return installed().speechEngine ? *installed().speechEngine : fallback;
}

AlertPresenter& alertPresenter() {
  static DiscardingAlertPresenter fallback;
  return installed().alertPresenter ? *installed().alertPresenter : fallback;
}

Console& console() {
  static StdoutConsole fallback;
  return installed().console ? *installed().console : fallback;
}

RandomSource& randomSource() {
  static SecureRandomSource fallback;
  return installed().random ? *installed().random : fallback;
}

UserInterfaceIdiom currentIdiom() { return installed().idiom; }

}  // namespace platform
