#pragma once

#include <optional>
#include <string>

#include "app/screen_input.h"
#include "app/screen_snapshot.h"
#include "ui/control_catalogue.h"

namespace hostkit {

// A key pressed while a question is on screen.
struct AnswerKey {
  enum class Kind { letter, enter, escape };
  Kind kind = Kind::letter;
  char letter = 0;  // for letter, in either case
};

// The button of the alert a key answers, the same in every front end: a letter takes the button
// whose title starts with it (Y, N), Enter the first button, Escape (or closing the question) the
// careful answer, "No" when there is one, else the last button. Nothing for any other key.
std::optional<std::string> answerFor(const app::AlertLook& alert, AnswerKey key);

// Presses the control on a key. A key several controls share (Space: Play or Pause) presses the
// one of them that takes taps. Nothing when no control is on the key.
std::optional<app::PressOutcome> pressForKey(app::ScreenInput& input,
                                             const app::ScreenSnapshot& now,
                                             const ui::ControlKey& key);

}  // namespace hostkit
