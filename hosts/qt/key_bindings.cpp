#include "hosts/qt/key_bindings.h"

#include <iomanip>
#include <sstream>

#include <QKeyEvent>
#include <Qt>

#include "app/quit_request.h"
#include "hosts/common/room_keys.h"

namespace qthost {

ui::ControlKey controlKeyOf(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
    return ui::ControlKey::ofCharacter(static_cast<char>('a' + (qtKey - Qt::Key_A)), {});
  if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || qtKey == Qt::Key_Space)
    return ui::ControlKey::ofCharacter(static_cast<char>(qtKey), {});
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
    return ui::ControlKey::ofFunction(qtKey - Qt::Key_F1 + 1, {});
  return ui::ControlKey::none();
}

bool quitOnKey(const QKeyEvent& event) {
  if (event.key() != Qt::Key_Q || !(event.modifiers() & Qt::ControlModifier)) return false;
  app::QuitRequest::request();
  return true;
}

std::vector<std::pair<std::string, std::string>> keyHelpRows() {
  auto rows = ui::keyHelpRows();
  rows.emplace_back("C", "check a claim: pauses and asks for the ticket's serial");
  rows.emplace_back("Y, N", "Yes or No in a question (Enter and Escape: No)");
  for (const hostkit::RoomKey& key : hostkit::kRoomKeys)
    rows.emplace_back(std::string(key.name), std::string(key.help));
  rows.emplace_back("F11", "full screen on and off");
  rows.emplace_back("F1, ?", "this list of keys");
  rows.emplace_back("Ctrl+Q", "quit");
  return rows;
}

std::string keyHelpText() {
  std::ostringstream out;
  for (const auto& [key, help] : keyHelpRows())
    out << "  " << std::left << std::setw(12) << key << help << '\n';
  return out.str();
}

}  // namespace qthost
