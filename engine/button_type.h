#pragma once

// The kinds of control button. A button's tag is the ordinal of its kind, which is how the panel
// finds the speed buttons (1) and the recall buttons (2) again.
enum class ButtonType : long {
  none = 0,
  speedNumbers = 1,
  lastNumbers = 2,
  play = 3,
  pause = 4,
  restart = 5,
  remainingNumbers = 6,
};
