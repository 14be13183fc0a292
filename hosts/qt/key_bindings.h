#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/control_catalogue.h"

namespace qthost {

// The catalogue's key for a Qt::Key (letters, digits, Space, F1 to F12); none for any other.
ui::ControlKey controlKeyOf(int qtKey);

// The keys and what they do, for the help: the controls' keys from the catalogue, then the
// window's own (answers, full screen, this help).
std::vector<std::pair<std::string, std::string>> keyHelpRows();
// The same, one key a line, for the command line's help.
std::string keyHelpText();

}  // namespace qthost
