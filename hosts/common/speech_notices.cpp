#include "hosts/common/speech_notices.h"

namespace hostkit {

namespace {

std::vector<std::string> told(std::vector<std::string> notices, std::ostream& errors) {
  for (const auto& notice : notices) errors << "vorlix-caller: " << notice << '\n';
  return notices;
}

}  // namespace

std::vector<std::string> takeSpeechNotices(platform::SpeechEngine& engine, std::ostream& errors) {
  return told(engine.takeNotices(), errors);
}

std::vector<std::string> takeScreenNotices(app::Screen& screen, std::ostream& errors) {
  return told(screen.takeNotices(), errors);
}

}  // namespace hostkit
