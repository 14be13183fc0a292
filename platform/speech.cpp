#include "platform/speech.h"

#include "platform/services.h"

namespace platform {

void SpeechSynthesizer::speakUtterance(const SpeechUtterance& utterance) {
  speechEngine().speak(utterance, mainRunLoop().now());
}

}  // namespace platform
