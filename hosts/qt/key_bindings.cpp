#include "hosts/qt/key_bindings.h"

#include <iomanip>
#include <sstream>

namespace qthost {

const std::vector<KeyBinding>& keyBindings() {
  // Digits follow the speed buttons (0 is 10); the F-keys name the recall they play.
  static const std::vector<KeyBinding> bindings = {
      {Qt::Key_Space, "Space", "", "Play or Pause (whichever takes taps)"},
      {Qt::Key_R, "R", "Re-start", "Re-start (asks Yes or No)"},
      {Qt::Key_2, "2", "2", "speed 2 (fastest)"},
      {Qt::Key_3, "3", "3", "speed 3"},
      {Qt::Key_4, "4", "4", "speed 4"},
      {Qt::Key_5, "5", "5", "speed 5"},
      {Qt::Key_6, "6", "6", "speed 6"},
      {Qt::Key_7, "7", "7", "speed 7"},
      {Qt::Key_8, "8", "8", "speed 8"},
      {Qt::Key_9, "9", "9", "speed 9"},
      {Qt::Key_0, "0", "10", "speed 10 (slowest)"},
      {Qt::Key_F2, "F2", "L2", "L2: recall the last 2 numbers"},
      {Qt::Key_F3, "F3", "L3", "L3: recall the last 3 numbers"},
      {Qt::Key_F5, "F5", "L5", "L5: recall the last 5 numbers"},
      {Qt::Key_F10, "F10", "L10", "L10: recall the last 10 numbers"},
      {Qt::Key_A, "A", "ALL", "ALL: recall every number called, in order"},
      {Qt::Key_M, "M", "Remaining Numbers", "Remaining Numbers: the numbers not yet called"},
  };
  return bindings;
}

const KeyBinding* bindingForKey(int key) {
  for (const KeyBinding& binding : keyBindings())
    if (binding.key == key) return &binding;
  return nullptr;
}

const KeyBinding* bindingForButton(const std::string& buttonTitle) {
  const bool playOrPause = buttonTitle == "Play" || buttonTitle == "Pause";
  for (const KeyBinding& binding : keyBindings())
    if (binding.buttonTitle == buttonTitle || (playOrPause && binding.buttonTitle.empty()))
      return &binding;
  return nullptr;
}

std::vector<std::pair<std::string, std::string>> keyHelpRows() {
  std::vector<std::pair<std::string, std::string>> rows;
  for (const KeyBinding& binding : keyBindings()) {
    const bool digit = binding.key >= Qt::Key_0 && binding.key <= Qt::Key_9;
    if (!digit)
      rows.emplace_back(binding.keyName, binding.help);
    else if (binding.key == Qt::Key_2)
      rows.emplace_back("2 ... 9, 0", "speed 2 (fastest) to 9, and 0 for 10 (slowest)");
  }
  rows.emplace_back("Y, N", "Yes or No in a question (Enter: Yes, Escape: No)");
  rows.emplace_back("F11", "full screen on and off");
  rows.emplace_back("F1, ?", "this list of keys");
  return rows;
}

std::string keyHelpText() {
  std::ostringstream out;
  for (const auto& [key, help] : keyHelpRows())
    out << "  " << std::left << std::setw(12) << key << help << '\n';
  return out.str();
}

}  // namespace qthost
