#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/game_record.h"

// A fresh folder for one test, named after the process and the test, so tests run side by side
// never share a store.
class StoreFolder {
 public:
  StoreFolder() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::path(testing::TempDir()) /
            ("vorlix-store-" + std::to_string(::getpid()) + "-" + test->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~StoreFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_ / "Vorlix.sqlite", std::filesystem::perms::owner_all,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  std::filesystem::path file(const std::string& name = "Vorlix.sqlite") const {
    return path_ / name;
  }

 private:
  std::filesystem::path path_;
};

inline std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A moment a fixed distance after a fixed start, so stored times are known exactly.
inline app::Moment at(double seconds) {
  return app::fromMilliseconds(1796670000000 + static_cast<std::int64_t>(seconds * 1000));
}

// Keeps one whole game of the given calls, each spoken a second after it is drawn.
inline app::GameId keepGame(app::GameRecord& record, const std::vector<int>& calls,
                            app::GameEnding ending = app::GameEnding::completed) {
  const auto game = record.startGame(at(0), "seed 7", 5);
  for (std::size_t i = 0; i < calls.size(); ++i) {
    record.addCall(game, static_cast<int>(i + 1), calls[i], at(10.0 * static_cast<double>(i)));
    record.markSpoken(game, static_cast<int>(i + 1), at(10.0 * static_cast<double>(i) + 1));
  }
  record.endGame(game, ending, at(1000));
  return game;
}
