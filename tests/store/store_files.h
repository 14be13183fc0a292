#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/game_record.h"
#include "platform/store/sqlite.h"
#include "support/program_run.h"

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

inline void writeFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

inline void keepSomeGames(const std::filesystem::path& file) {
  auto record = app::GameRecord::open(file, app::GameRecord::Access::caller);
  record->database().execute("PRAGMA synchronous=OFF");  // the games, not their safety, matter here
  for (int game = 0; game < 20; ++game) keepGame(*record, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
}

struct BrokenStore {
  std::string name;
  std::function<void(const std::filesystem::path&)> make;
  std::string sentence;  // what the message says about the file
};

// The stores a caller cannot use, each with what its sentence says about the file.
inline std::vector<BrokenStore> brokenStores() {
  return {
      {"not SQLite", [](const std::filesystem::path& f) { writeFile(f, "ball,number\r\n1,7\r\n"); },
       "is not a Vorlix game record (not an SQLite file)"},
      {"read-only",
       [](const std::filesystem::path& f) {
         keepSomeGames(f);
         std::filesystem::permissions(
             f, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
       },
       "cannot be written (read-only)"},
      {"damaged",
       [](const std::filesystem::path& f) {
         keepSomeGames(f);
         std::string bytes = fileText(f);
         for (std::size_t i = 4096 + 8; i < 4096 + 400 && i < bytes.size(); ++i) bytes[i] = '\x5a';
         writeFile(f, bytes);
       },
       "is damaged"},
      {"newer schema",
       [](const std::filesystem::path& f) {
         keepSomeGames(f);
         platform::sqlite::Database(f, platform::sqlite::OpenMode::readWrite)
             .execute("PRAGMA user_version=9");
       },
       "was written by a newer Vorlix caller (schema 9; this one reads up to 3)"},
      {"a folder", [](const std::filesystem::path& f) { std::filesystem::create_directory(f); },
       "is not a file"},
  };
}

// The one sentence a caller gives for a store it cannot use.
inline std::string unusableStoreSentence(const std::filesystem::path& file,
                                         const std::string& whatIsWrong) {
  return "The game record \"" + file.string() + "\" " + whatIsWrong +
         "; the game goes on without keeping it.";
}

// Makes each broken store in a folder of its own, lets `use` try it, and checks that the file was
// left byte for byte as it was.
inline void tryEachBrokenStore(
    const std::vector<BrokenStore>& cases,
    const std::function<void(const BrokenStore&, const std::filesystem::path&)>& use) {
  for (const auto& broken : cases) {
    SCOPED_TRACE(broken.name);
    TestFolder folder;
    const auto file = folder.file();
    broken.make(file);
    const auto before = std::filesystem::is_regular_file(file) ? fileText(file) : "";
    use(broken, file);
    if (std::filesystem::is_regular_file(file)) {
      EXPECT_TRUE(fileText(file) == before) << "the file changed";
    }
  }
}
