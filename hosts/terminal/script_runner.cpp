#include "hosts/terminal/script_runner.h"

#include <array>
#include <chrono>

#include "platform/message_text.h"
#include "platform/touch.h"

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
  platform::View& root = screen_.view();
  platform::Button* button = platform::findButtonTitled(root, command.title);
  if (button == nullptr)
    throw ScriptError(command.line,
                      "there is no control titled \"" + command.title + "\" on screen");
  // An alert on screen is modal, as on the device: the screen beneath it takes no taps.
  const bool underAlert = recorder_.alerts().topmostOpen() != nullptr;
  if (underAlert || root.hitTest(platform::centerInRoot(*button)) != button) {
    recorder_.action("tap-ignored", command.title);
    return;
  }
  recorder_.action("tap", command.title);
  button->sendActionsForControlEvents(platform::ControlEvent::touchUpInside);
  recorder_.eventHandled();
}

void ScriptRunner::answer(const ScriptCommand& command) {
  auto alert = recorder_.alerts().topmostOpen();
  if (!alert)
    throw ScriptError(command.line, "answer " + platform::printableExcerpt(command.title) +
                                        ", but no alert is on screen");
  for (long index = 0; index < alert->numberOfButtons(); ++index) {
    if (alert->buttonTitleAtIndex(index) != command.title) continue;
    recorder_.action("answer", command.title);
    alert->tapButtonAtIndex(index);
    recorder_.eventHandled();
    return;
  }
  throw ScriptError(command.line, "the alert \"" + alert->title() + "\" has no button titled \"" +
                                      platform::printableExcerpt(command.title) + "\"");
}

void ScriptRunner::board() {
  std::array<std::string, 3> numbers;  // just-filled, filled, unfilled
  for (const auto& view : app::snapshotOf(screen_).views) {
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
  platform::Button* pause = platform::findButtonTitled(screen_.view(), "Pause");
  if (pause != nullptr && recorder_.alerts().topmostOpen() == nullptr &&
      screen_.view().hitTest(platform::centerInRoot(*pause)) == pause) {
    pause->sendActionsForControlEvents(platform::ControlEvent::touchUpInside);
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
  std::vector<int> drawn;
  for (const auto& number : screen_._randomNumbers) drawn.push_back(std::stoi(number));
  return app::callsAnnounced(drawn, screen_._announcedNumber);
}

}  // namespace terminal
