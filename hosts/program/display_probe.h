#pragma once

#include <optional>
#include <string>

namespace program {

// Whether the display the environment names answers, asked before Qt starts: Qt aborts the whole
// process when its display does not answer. Returns a sentence saying why when a display is named
// (DISPLAY, WAYLAND_DISPLAY) and does not answer; nothing when it answers or none is named.
std::optional<std::string> unansweringDisplay();

// Forgets the display the environment names, so that nothing in this process tries it again.
void forgetDisplay();

}  // namespace program
