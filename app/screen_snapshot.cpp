#include "app/screen_snapshot.h"

#include <algorithm>

#include "platform/button.h"
#include "platform/label.h"

namespace app {
namespace {

CellState stateOf(const ViewController& screen, const platform::Color& colour) {
  if (colour == screen.color_un_filled) return CellState::unfilled;
  if (colour == screen.color_just_filled) return CellState::justFilled;
  if (colour == screen.color_filled) return CellState::filled;
  return CellState::other;
}

platform::Color backgroundOf(const platform::View& view) {
  return view.backgroundColor().value_or(platform::Color::clearColor());
}

}  // namespace

ScreenSnapshot snapshotOf(ViewController& screen) {
  ScreenSnapshot snapshot;
  snapshot.title = screen.title();
  const auto& cells = screen._gridViewsArray;
  for (const auto& view : screen.view().subviews()) {
    if (const auto* button = dynamic_cast<const platform::Button*>(view.get())) {
      snapshot.views.emplace_back(ControlLook{button->titleText().value_or(""),
                                              backgroundOf(*button),
                                              button->isUserInteractionEnabled(), button->frame()});
    } else if (const auto* label = dynamic_cast<const platform::Label*>(view.get())) {
      snapshot.views.emplace_back(TextLook{label->text().value_or(""), label->frame()});
    } else if (auto cell = std::find(cells.begin(), cells.end(), view); cell != cells.end()) {
      const platform::Color colour = backgroundOf(*view);
      snapshot.views.emplace_back(
          CellLook{static_cast<int>(cell - cells.begin()) + 1, stateOf(screen, colour), colour});
    }
  }
  return snapshot;
}

}  // namespace app
