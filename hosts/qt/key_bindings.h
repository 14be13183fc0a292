#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QKeyEvent>

namespace qthost {

// What a key does on the screen: tap the button with this title. Space names no single button:
// it taps Play or Pause, whichever takes taps.
struct KeyBinding {
  int key;                  // a Qt::Key
  std::string keyName;      // as shown in the help
  std::string buttonTitle;  // empty for Space
  std::string help;
};

inline constexpr const char* kPlayOrPause = "Play or Pause";

const std::vector<KeyBinding>& keyBindings();
const KeyBinding* bindingForKey(int key);
// The binding that taps the button with this title, if any key does.
const KeyBinding* bindingForButton(const std::string& buttonTitle);
// The keys and what they do, for the help: the digits share one row.
std::vector<std::pair<std::string, std::string>> keyHelpRows();
// The same, one key a line, for the command line's help.
std::string keyHelpText();

}  // namespace qthost
