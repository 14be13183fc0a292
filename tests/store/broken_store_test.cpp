// Stores the caller cannot use: each is reported in one sentence naming the file, the game goes on
// without keeping, and the file is left byte for byte as it was; a read-only one can still be read.
#include "app/game_record.h"
#include "app/game_recorder.h"
#include "store_files.h"

namespace {

using app::GameRecord;
namespace fs = std::filesystem;

TEST(BrokenStore, EachIsOneSentenceAndTheFileIsLeftAsItWas) {
  tryEachBrokenStore(brokenStores(), [](const BrokenStore& broken, const fs::path& file) {
    for (const auto access : {GameRecord::Access::caller, GameRecord::Access::reader}) {
      if (broken.name == "read-only" && access == GameRecord::Access::reader) {
        EXPECT_EQ(GameRecord::open(file, access)->games().size(), 20u) << "it can still be listed";
        continue;
      }
      try {
        GameRecord::open(file, access);
        ADD_FAILURE() << "opened";
      } catch (const app::StoreUnavailable& problem) {
        EXPECT_EQ(std::string(problem.what()), unusableStoreSentence(file, broken.sentence));
      }
    }
    // A reader may leave SQLite's write-ahead log beside the file, but never anything in it.
    const fs::path log = file.string() + "-wal";
    if (fs::exists(log)) {
      EXPECT_EQ(fs::file_size(log), 0u);
    }
  });
}

// A disk that fills during a game: the recorder says so once, keeps nothing more, and the game
// (the host calling observe) goes on; what was kept before is still there.
TEST(BrokenStore, AFullDiskStopsTheKeepingNotTheGame) {
  TestFolder folder;
  keepSomeGames(folder.file());
  {
    auto record = GameRecord::open(folder.file(), GameRecord::Access::caller);
    // The file may not grow by a single page: SQLite's own "database or disk is full".
    const auto pages = record->database().queryInteger("PRAGMA page_count");
    record->database().queryInteger("PRAGMA max_page_count=" + std::to_string(pages));
    std::vector<std::string> told;
    app::GameRecorder recorder(record.get(), "secure",
                               [&](const std::string& sentence) { told.push_back(sentence); });
    // Whole games one after another until the file would have to grow.
    for (int round = 0; round < 20; ++round) {
      app::ObservedGame game;
      game.phase = app::GamePhase::calling;
      for (int number = 1; number <= 90; ++number) {
        game.calledInOrder.push_back(number);
        if (number == 90) game.phase = app::GamePhase::completed;
        ASSERT_NO_THROW(recorder.observe(game, at(number)));
      }
      ASSERT_NO_THROW(recorder.observe({}, at(100)));  // restarted
    }
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("cannot grow: the disk is full; the game goes on without keeping it."),
              std::string::npos)
        << told[0];
    EXPECT_FALSE(recorder.keeping());
  }
  const auto record = GameRecord::open(folder.file(), GameRecord::Access::reader);
  EXPECT_GE(record->games().size(), 20u);
  EXPECT_EQ(record->game(20)->calls.size(), 10u);
}

}  // namespace
