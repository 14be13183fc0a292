#pragma once

#include <string>

#include "platform/button.h"
#include "platform/view.h"

namespace platform {

// Delivers a tap at a point of the root view as a touch screen would: to the frontmost view there
// that takes taps. A button that gets it runs its touch-up-inside actions. Returns that button, or
// nullptr when the tap reached no button (a button that takes no taps lets it through to what lies
// beneath).
Button* deliverTap(View& root, Point pointInRoot);

// The first button among the root view's subviews whose title is `title`.
Button* findButtonTitled(View& root, const std::string& title);

}  // namespace platform

namespace platform {

// The centre of a view, in its root view's coordinates.
Point centerInRoot(const View& view);

enum class TapOutcome { reached, ignored, noSuchButton };

// Taps the centre of the button titled `title` as a finger would, through hit-testing: `ignored`
// when the button takes no taps (nothing happens then).
TapOutcome tapButtonTitled(View& root, const std::string& title);

}  // namespace platform
