#include "engine/view_controller.h"

#include "platform/speech.h"

// Both initialisers leave the fields at the defaults given where they are declared.
ViewController::ViewController(std::optional<std::string> nibName, const platform::Bundle* bundle)
    : platform::ViewControllerBase(std::move(nibName), bundle) {}

ViewController::ViewController(const platform::Coder& coder)
    : platform::ViewControllerBase(coder) {}

ViewController::~ViewController() {
  for (auto& weakAlert : alertsAskingMe_)
    if (auto alert = weakAlert.lock(); alert && alert->delegate() == this)
      alert->setDelegate(nullptr);
}

void ViewController::didReceiveMemoryWarning() {
  platform::ViewControllerBase::didReceiveMemoryWarning();
}

void ViewController::speak(const std::string& text) {
  if (_isDebug || !synthesizer) return;
  auto utterance = platform::SpeechUtterance::initWithString(text);
  utterance.setRate(0.5f);
  synthesizer->speakUtterance(utterance);
}
