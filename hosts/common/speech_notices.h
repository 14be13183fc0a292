#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/screen.h"
#include "platform/speech.h"

namespace hostkit {

// Takes what the speech engine has to tell the host (an output that failed, a sound server that
// went away or came back), writes each notice once to `errors` and returns them for the host to
// show where it shows its status.
std::vector<std::string> takeSpeechNotices(platform::SpeechEngine& engine, std::ostream& errors);

// The same for what the application has to tell (the game record cannot be kept).
std::vector<std::string> takeScreenNotices(app::Screen& screen, std::ostream& errors);

}  // namespace hostkit
