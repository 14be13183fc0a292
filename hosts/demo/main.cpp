// A short demonstration: a seeded game played on a virtual clock, printing what is spoken and when.
#include <cstdio>
#include <string>

#include "engine/view_controller.h"
#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/run_loop.h"
#include "platform/services.h"
#include "platform/speech.h"
#include "platform/touch.h"

namespace {

class PrintingSpeech : public platform::SpeechEngine {
 public:
  void speak(const platform::SpeechUtterance& u, platform::Duration at) override {
    std::printf("%9.3f  say  %s\n", platform::durationToSeconds(at), u.speechString.c_str());
  }
};

}  // namespace

int main() {
  platform::VirtualRunLoop loop;
  PrintingSpeech speech;
  platform::RecordingAlertPresenter alerts;
  platform::RecordingConsole console;
  platform::SeededRandomSource random(2026);
  platform::ServicesScope scope({&loop, &speech, &alerts, &console, &random});

  ViewController screen;
  screen.setInitialViewFrame({0, 0, 320, 568});
  platform::View& root = screen.view();
  platform::tapButtonTitled(root, "Play");
  loop.runUntilIdle(std::chrono::hours(1));
  for (const auto& alert : alerts.shown())
    std::printf("%9.3f  alert  %s | %s\n", platform::durationToSeconds(loop.now()),
                alert->title().c_str(), alert->message().c_str());
  std::printf("Title: %s\n", screen.title().c_str());
  return 0;
}
