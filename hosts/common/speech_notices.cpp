#include "hosts/common/speech_notices.h"

namespace hostkit {

std::vector<std::string> takeSpeechNotices(platform::SpeechEngine& engine, std::ostream& errors) {
  std::vector<std::string> notices = engine.takeNotices();
  for (const auto& notice : notices) errors << "vorlix-caller: " << notice << '\n';
  return notices;
}

}  // namespace hostkit
