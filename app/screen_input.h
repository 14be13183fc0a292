#pragma once

#include <string>

#include "platform/geometry.h"

namespace app {

// What became of a press: it reached its control, the control takes no taps just now (nothing
// happened), or the screen has no control of that title.
enum class PressOutcome { pressed, ignored, noSuchControl };

// Everything a person can do to the screen: press a control, tap a point, answer the alert on
// top. Each call is one event; a host refreshes what it shows after it.
class ScreenInput {
 public:
  virtual ~ScreenInput() = default;
  // Taps the centre of the control titled `title` as a finger would, through hit-testing.
  virtual PressOutcome press(const std::string& title) = 0;
  // A tap at a point of the screen, in its points (a click, a touch).
  virtual PressOutcome tapAt(platform::Point point) = 0;
  // Taps the button titled `buttonTitle` on the open alert shown last; false when no alert is
  // open or it has no such button.
  virtual bool answer(const std::string& buttonTitle) = 0;
};

}  // namespace app
