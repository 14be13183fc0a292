#include "hosts/common/input_policy.h"

#include <cctype>

#include "engine/game_rules.h"
#include "ui/control_catalogue.h"

namespace hostkit {
namespace {

char lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

std::optional<std::string> answerFor(const app::AlertLook& alert, AnswerKey key) {
  const auto& buttons = alert.buttons;
  if (buttons.empty()) return std::nullopt;
  switch (key.kind) {
    case AnswerKey::Kind::enter:
      return buttons.front();
    case AnswerKey::Kind::escape:
      for (const auto& title : buttons)
        if (title == game::kAnswerNo) return title;
      return buttons.back();
    case AnswerKey::Kind::letter:
      for (const auto& title : buttons)
        if (!title.empty() && lower(title.front()) == lower(key.letter)) return title;
      break;
  }
  return std::nullopt;
}

std::optional<app::PressOutcome> pressForKey(app::ScreenInput& input,
                                             const app::ScreenSnapshot& now,
                                             const ui::ControlKey& key) {
  const auto controls = ui::controlsOnKey(key);
  if (controls.empty()) return std::nullopt;
  const ui::ControlEntry* chosen = controls.front();
  for (const auto* control : controls) {
    const app::ControlLook* look = now.control(std::string(control->title));
    if (look != nullptr && look->live) {
      chosen = control;
      break;
    }
  }
  return input.press(std::string(chosen->title));
}

}  // namespace hostkit
