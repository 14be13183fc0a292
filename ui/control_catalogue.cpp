#include "ui/control_catalogue.h"

#include <algorithm>
#include <array>

namespace ui {
namespace {

using Action = ControlEntry::Action;
using Key = ControlKey;

constexpr ControlEntry speed(int value, char key, std::string_view title,
                             std::string_view keyName) {
  return {title,
          ButtonType::speedNumbers,
          Action::speed,
          {},
          value,
          Key::ofCharacter(key, keyName),
          {},
          1,
          0.74};
}

constexpr ControlEntry recallLast(int count, std::string_view title, int functionKey,
                                  std::string_view keyName, double width = 1.0) {
  return {title,
          ButtonType::lastNumbers,
          Action::recall,
          Recall::last(count),
          0,
          Key::ofFunction(functionKey, keyName),
          {},
          0,
          width};
}

// In panel order, row by row, left to right.
constexpr std::array kControls{
    ControlEntry{kPlayTitle,
                 ButtonType::play,
                 Action::play,
                 {},
                 0,
                 Key::ofCharacter(' ', "Space"),
                 {},
                 0,
                 1.8},
    recallLast(2, "L2", 2, "F2"),
    recallLast(3, "L3", 3, "F3"),
    recallLast(5, "L5", 5, "F5"),
    recallLast(10, "L10", 10, "F10", 1.2),
    ControlEntry{"ALL",
                 ButtonType::lastNumbers,
                 Action::recall,
                 Recall::allCalled(),
                 0,
                 Key::ofCharacter('a', "A"),
                 {},
                 0,
                 1.5},
    ControlEntry{"Re-start",
                 ButtonType::restart,
                 Action::restart,
                 {},
                 0,
                 Key::ofCharacter('r', "R"),
                 "asks Yes or No",
                 0,
                 2.7},
    ControlEntry{kPauseTitle,
                 ButtonType::pause,
                 Action::pause,
                 {},
                 0,
                 Key::ofCharacter(' ', "Space"),
                 {},
                 1,
                 1.8},
    speed(2, '2', "2", "2"),
    speed(3, '3', "3", "3"),
    speed(4, '4', "4", "4"),
    speed(5, '5', "5", "5"),
    speed(6, '6', "6", "6"),
    speed(7, '7', "7", "7"),
    speed(8, '8', "8", "8"),
    speed(9, '9', "9", "9"),
    speed(10, '0', "10", "0"),
    ControlEntry{"Remaining Numbers",
                 ButtonType::remainingNumbers,
                 Action::recall,
                 Recall::remaining(),
                 0,
                 Key::ofCharacter('m', "M"),
                 {},
                 2,
                 5.5},
};

std::string recallHelp(const Recall& recall) {
  switch (recall.kind) {
    case Recall::Kind::lastNumbers:
      return "recall the last " + std::to_string(recall.count) + " numbers";
    case Recall::Kind::allCalled:
      return "recall every number called, in order";
    case Recall::Kind::remaining:
      return "the numbers not yet called";
  }
  return {};
}

// "2 ... 9, 0" and "speed 2 (fastest) to 9, and 0 for 10 (slowest)".
std::pair<std::string, std::string> speedHelpRow() {
  std::vector<const ControlEntry*> speeds;
  for (const auto& control : kControls)
    if (control.action == Action::speed) speeds.push_back(&control);
  const auto& first = *speeds.front();
  const auto& beforeLast = *speeds[speeds.size() - 2];
  const auto& last = *speeds.back();
  return {std::string(first.key.name) + " ... " + std::string(beforeLast.key.name) + ", " +
              std::string(last.key.name),
          "speed " + std::to_string(first.speed) + " (fastest) to " +
              std::to_string(beforeLast.speed) + ", and " + std::string(last.key.name) + " for " +
              std::to_string(last.speed) + " (slowest)"};
}

}  // namespace

std::span<const ControlEntry> controls() {
  return kControls;
}

int rowCount() {
  int rows = 0;
  for (const auto& control : kControls) rows = std::max(rows, control.row + 1);
  return rows;
}

const ControlEntry* controlTitled(std::string_view title) {
  for (const auto& control : kControls)
    if (control.title == title) return &control;
  return nullptr;
}

const ControlEntry* controlFor(const Recall& recall) {
  for (const auto& control : kControls)
    if (control.action == Action::recall && control.recall == recall) return &control;
  return nullptr;
}

std::vector<const ControlEntry*> controlsOnKey(const ControlKey& key) {
  std::vector<const ControlEntry*> found;
  for (const auto& control : kControls)
    if (control.key.sameKey(key)) found.push_back(&control);
  return found;
}

std::string_view keyNameFor(std::string_view title) {
  const ControlEntry* control = controlTitled(title);
  return control ? control->key.name : std::string_view{};
}

std::string helpFor(const ControlEntry& control) {
  const std::string title(control.title);
  switch (control.action) {
    case Action::recall:
      return title + ": " + recallHelp(control.recall);
    case Action::speed:
      return "speed " + title;
    case Action::play:
    case Action::pause:
    case Action::restart:
      break;
  }
  return control.note.empty() ? title : title + " (" + std::string(control.note) + ")";
}

std::vector<std::pair<std::string, std::string>> keyHelpRows() {
  std::vector<std::pair<std::string, std::string>> rows;
  bool speedsListed = false;
  // A key shared by several controls is one row, "Play or Pause (whichever takes taps)"; the
  // speed digits are one row.
  auto addRow = [&](const ControlEntry& control) {
    const auto sharing = controlsOnKey(control.key);
    if (sharing.front() != &control) return;
    if (sharing.size() == 1) return rows.emplace_back(control.key.name, helpFor(control)), void();
    std::string titles;
    for (const auto* other : sharing)
      titles += (titles.empty() ? "" : " or ") + std::string(other->title);
    rows.emplace_back(control.key.name, titles + " (whichever takes taps)");
  };
  // The order people look for them in: play, restart, speeds, recalls.
  for (const auto& control : kControls)
    if (control.action == Action::play || control.action == Action::pause) addRow(control);
  for (const auto& control : kControls)
    if (control.action == Action::restart) addRow(control);
  for (const auto& control : kControls)
    if (control.action == Action::speed && !std::exchange(speedsListed, true))
      rows.push_back(speedHelpRow());
  for (const auto& control : kControls)
    if (control.action == Action::recall && control.key.kind != ControlKey::Kind::none)
      addRow(control);
  return rows;
}

}  // namespace ui
