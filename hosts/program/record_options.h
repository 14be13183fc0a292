#pragma once

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "app/game_keeping.h"

namespace program {

// The command line's say on the game record: --store FILE, --no-store, --resume, --new-game.
class RecordOptions {
 public:
  void addTo(CLI::App& cli);
  // What the run keeps: the window and the terminal keep their games unless --no-store; a scripted
  // run only with --store, so tests and tools never touch a user's record.
  app::KeepingSettings settings(bool scripted, std::string drawSource) const;

 private:
  std::optional<std::string> store_;
  bool noStore_ = false;
  bool resume_ = false;
  bool newGame_ = false;
};

}  // namespace program
