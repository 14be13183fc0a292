#include "app/screen_snapshot.h"

namespace app {

const char* gamePhaseName(GamePhase phase) {
  switch (phase) {
    case GamePhase::notStarted:
      return "not started";
    case GamePhase::calling:
      return "calling";
    case GamePhase::paused:
      return "paused";
    case GamePhase::recalling:
      return "recalling";
    case GamePhase::completed:
      return "completed";
  }
  return "";
}

const ControlLook* ScreenSnapshot::control(const std::string& controlTitle) const {
  for (const auto& view : views)
    if (const auto* look = std::get_if<ControlLook>(&view); look && look->title == controlTitle)
      return look;
  return nullptr;
}

std::vector<const CellLook*> ScreenSnapshot::cells() const {
  std::vector<const CellLook*> found;
  for (const auto& view : views)
    if (const auto* cell = std::get_if<CellLook>(&view)) found.push_back(cell);
  return found;
}

}  // namespace app
