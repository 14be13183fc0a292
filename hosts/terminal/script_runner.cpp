#include "hosts/terminal/script_runner.h"

#include <array>
#include <chrono>

#include <algorithm>

#include "platform/message_text.h"

namespace terminal {
namespace {

// The longest that until-idle lets the clock run.
constexpr platform::Duration kIdleLimit = std::chrono::hours(1);

}  // namespace

void ScriptRunner::run(const std::vector<ScriptCommand>& commands) {
  for (const auto& command : commands) {
    if (clock_.stopRequested()) return;
    switch (command.kind) {
      case ScriptCommand::Kind::tap:
        tap(command);
        break;
      case ScriptCommand::Kind::answer:
        answer(command);
        break;
      case ScriptCommand::Kind::wait:
        clock_.runFor(platform::secondsToDuration(command.seconds));
        break;
      case ScriptCommand::Kind::untilIdle:
        clock_.runUntilIdle(kIdleLimit);
        break;
      case ScriptCommand::Kind::board:
        board();
        break;
      case ScriptCommand::Kind::claim:
        claim(command);
        break;
      case ScriptCommand::Kind::confirm:
        confirm(command);
        break;
    }
  }
}

// The tap is written before what it sets off, so the transcript reads in the order things happen.
void ScriptRunner::tap(const ScriptCommand& command) {
  const app::ScreenSnapshot now = screen_.snapshot();
  const app::ControlLook* control = now.control(command.title);
  if (control == nullptr)
    throw ScriptError(command.line,
                      "there is no control titled \"" + command.title + "\" on screen");
  // An alert on screen is modal, as on the device: the screen beneath it takes no taps.
  if (!now.openAlerts.empty() || !control->live) {
    recorder_.action("tap-ignored", command.title);
    return;
  }
  recorder_.action("tap", command.title);
  screen_.press(command.title);
  recorder_.eventHandled();
}

void ScriptRunner::answer(const ScriptCommand& command) {
  const app::ScreenSnapshot now = screen_.snapshot();
  if (now.openAlerts.empty())
    throw ScriptError(command.line, "answer " + platform::printableExcerpt(command.title) +
                                        ", but no alert is on screen");
  const app::AlertLook& alert = now.openAlerts.back();
  if (std::find(alert.buttons.begin(), alert.buttons.end(), command.title) == alert.buttons.end())
    throw ScriptError(command.line, "the alert \"" + alert.title + "\" has no button titled \"" +
                                        platform::printableExcerpt(command.title) + "\"");
  recorder_.action("answer", command.title);
  screen_.answer(command.title);
  recorder_.eventHandled();
}

void ScriptRunner::board() {
  std::array<std::string, 3> numbers;  // just-filled, filled, unfilled
  for (const auto& view : screen_.snapshot().views) {
    const auto* cell = std::get_if<app::CellLook>(&view);
    if (cell == nullptr) continue;
    const std::size_t group = cell->state == app::CellState::justFilled ? 0
                              : cell->state == app::CellState::filled   ? 1
                                                                        : 2;
    numbers[group].append(" ").append(std::to_string(cell->number));
  }
  recorder_.action("board", "just-filled:" + numbers[0]);
  recorder_.action("board", "filled:" + numbers[1]);
  recorder_.action("board", "unfilled:" + numbers[2]);
}

// A claim stops the calling first, as the host pauses to check the ticket; the verdict is written
// before it is spoken.
void ScriptRunner::claim(const ScriptCommand& command) {
  const app::ScreenSnapshot now = screen_.snapshot();
  const app::ControlLook* pause = now.control("Pause");
  if (pause != nullptr && pause->live && now.openAlerts.empty()) {
    screen_.press("Pause");
    recorder_.eventHandled();
  }
  const auto& shown = claims_.claim(command.serial, callsAnnounced());
  recorder_.action("claim", std::to_string(command.serial) + " " + shown.verdictText());
  claims_.speakVerdict();
  recorder_.eventHandled();
}

void ScriptRunner::confirm(const ScriptCommand& command) {
  const auto confirmation = claims_.confirm(callsAnnounced());
  if (!confirmation.awarded)
    throw ScriptError(command.line,
                      "confirm, but no good claim has been made since the last number was called");
  if (confirmation.next) recorder_.action("prize", tickets::prizeName(*confirmation.next));
}

std::vector<int> ScriptRunner::callsAnnounced() const {
  const app::ScreenSnapshot now = screen_.snapshot();
  return app::callsAnnounced(now.calledInOrder, now.numberBeingCalled);
}

}  // namespace terminal
