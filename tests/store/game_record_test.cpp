// The game record on a real SQLite file: what is kept reads back, the schema moves forward on open,
// and the file belongs to one caller at a time.
#include <numeric>

#include "app/game_record.h"
#include "platform/random_source.h"
#include "platform/store/sqlite.h"
#include "store_files.h"

namespace {

using app::GameRecord;
namespace sql = platform::sqlite;

std::vector<int> firstNumbers(int count) {
  std::vector<int> numbers(static_cast<std::size_t>(count));
  std::iota(numbers.rbegin(), numbers.rend(), 91 - count);  // 90, 89, ...
  return numbers;
}

TEST(GameRecord, KeepsGamesCallsAndTheUnfinishedGameToResume) {
  TestFolder folder;
  auto record = GameRecord::open(folder.file(), GameRecord::Access::caller);
  EXPECT_FALSE(record->unfinishedGame());
  const auto completed = keepGame(*record, firstNumbers(90));
  const auto open = record->startGame(at(2000), "draw-order 7,45", 6);
  record->addSpeedChange(open, 8, at(2001));
  record->addCall(open, 1, 7, at(2010));
  record->markSpoken(open, 1, at(2011.5));
  record->addCall(open, 2, 45, at(2020));  // committed, then the power went before it was spoken

  const auto unfinished = record->unfinishedGame();
  ASSERT_TRUE(unfinished);
  EXPECT_EQ(unfinished->id, open);
  EXPECT_EQ(unfinished->calledInOrder, (std::vector<int>{7, 45}));
  EXPECT_EQ(unfinished->spoken, (std::vector<bool>{true, false}));
  EXPECT_EQ(unfinished->speed, 8);
  EXPECT_EQ(unfinished->ballsCalled, 2);
  EXPECT_EQ(unfinished->lastCallAt, at(2020));
  EXPECT_EQ(app::isoTime(at(2010)), "2026-12-07T19:33:30.000Z");  // as the exports write it

  // A new game settles the unfinished one as interrupted at its last call.
  const auto next = record->startGame(at(3000), "secure", 5);
  const auto games = record->games();
  ASSERT_EQ(games.size(), 3u);
  EXPECT_EQ(games[0].ending, app::GameEnding::completed);
  EXPECT_EQ(games[0].ballsCalled, 90);
  EXPECT_EQ(games[1].ending, app::GameEnding::interrupted);
  EXPECT_EQ(games[1].endedAt, at(2020));
  EXPECT_FALSE(games[2].ending);
  EXPECT_EQ(record->latestGameId(), next);
  EXPECT_FALSE(record->unfinishedGame()) << "a game with no calls yet is nothing to resume";
  EXPECT_EQ(record->game(completed)->calls.size(), 90u);

  // The same number twice in a game, or a ball beyond 90, is refused by the schema itself.
  EXPECT_THROW(record->addCall(next, 1, 7, at(3001));
               record->addCall(next, 2, 7, at(3002)), app::StoreUnavailable);
  EXPECT_THROW(record->addCall(next, 91, 8, at(3003)), app::StoreUnavailable);
}

TEST(GameRecord, MigratesAnOlderSchemaForwardKeepingItsGames) {
  TestFolder folder;
  {
    sql::Database database(folder.file(), sql::OpenMode::readWriteCreate);
    app::migrateSchema(database, 1);
    database.execute(
        "INSERT INTO games VALUES (1, 1796670000000, 1796670900000, 'completed', 'seed 3', 7);"
        "INSERT INTO calls VALUES (1, 1, 42, 1796670006000, 1796670007000);");
  }
  {
    auto record = GameRecord::open(folder.file(), GameRecord::Access::caller);
    EXPECT_EQ(record->database().queryInteger("PRAGMA user_version"), GameRecord::kSchemaVersion);
    EXPECT_EQ(record->database().queryText("PRAGMA journal_mode"), "wal");
    EXPECT_EQ(record->database().queryInteger("PRAGMA synchronous"), 2) << "FULL";
    const auto game = record->game(1);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->summary.drawSource, "seed 3");
    EXPECT_EQ(game->calls.at(0).number, 42);
    record->addSpeedChange(1, 4, at(1));  // the tables the newer schemas add
    record->addClaim(1, {at(2), 1, 7, "one line", "bogey", false});
  }
  EXPECT_EQ(
      GameRecord::open(folder.file(), GameRecord::Access::reader)->game(1)->speedChanges.size(),
      1u);
}

TEST(GameRecord, OneCallerAtATimeWhileReadersReadBesideIt) {
  TestFolder folder;
  auto first = GameRecord::open(folder.file(), GameRecord::Access::caller);
  keepGame(*first, {1, 2, 3});
  try {
    GameRecord::open(folder.file(), GameRecord::Access::caller);
    FAIL() << "a second caller opened the store";
  } catch (const app::StoreUnavailable& problem) {
    EXPECT_NE(std::string(problem.what()).find("is in use by another running caller"),
              std::string::npos)
        << problem.what();
  }
  auto reader = GameRecord::open(folder.file(), GameRecord::Access::reader);
  EXPECT_EQ(reader->games().size(), 1u);
  keepGame(*first, {4});
  EXPECT_EQ(reader->games().size(), 2u) << "a reader sees each committed game";
  first.reset();
  EXPECT_NO_THROW(GameRecord::open(folder.file(), GameRecord::Access::caller))
      << "the lock goes with the caller";
}

// A transaction left unfinished (a throw between two writes) keeps none of its writes.
TEST(SqliteWrapper, RollsBackUnfinishedTransactions) {
  TestFolder folder;
  sql::Database database(folder.file("plain.sqlite"), sql::OpenMode::readWriteCreate);
  database.execute("CREATE TABLE t (x INTEGER NOT NULL)");
  {
    sql::Transaction transaction(database);
    database.prepare("INSERT INTO t VALUES (?)").bind(1, 5).run();
  }
  EXPECT_EQ(database.queryInteger("SELECT count(*) FROM t"), 0);
  EXPECT_THROW(database.prepare("INSERT INTO t VALUES (?)").bind(1, std::nullopt).run(),
               sql::Error);
}

}  // namespace

namespace {

tickets::Book seededBook(long long strips, std::uint32_t firstSerial, std::uint64_t seed) {
  platform::SeededRandomSource random(seed);
  return tickets::generateBook(strips, firstSerial, random);
}

}  // namespace

TEST(GameRecord, KeepsBooksByTheirLatestPrintingAndTheClaimsOfEachGame) {
  TestFolder folder;
  const auto first = seededBook(2, 101, 1);
  const auto reprinted = seededBook(1, 107, 2);  // serials 107-112 again, other tickets
  {
    auto record = GameRecord::open(folder.file(), GameRecord::Access::caller);
    record->recordBook(first, "seed 1", at(10));
    record->recordBook(reprinted, "seed 2", at(20));
    const auto game = keepGame(*record, {5, 17, 33});
    record->addClaim(game, {at(30), 3, 101, "one line", "bogey", false});
    record->addClaim(game, {at(32), 3, 104, "one line", "good", false});
    record->confirmClaim(game, 3, 104);
    record->confirmClaim(game, 3, 101);  // a bogey is never confirmed
    EXPECT_EQ(record->claims(game),
              (std::vector<app::ClaimRow>{{at(30), 3, 101, "one line", "bogey", false},
                                          {at(32), 3, 104, "one line", "good", true}}));
  }
  // A reader beside the caller finds every ticket by its serial alone.
  auto reader = GameRecord::open(folder.file(), GameRecord::Access::reader);
  EXPECT_EQ(reader->ticket(101), first.tickets.front());
  EXPECT_EQ(reader->ticket(106), first.tickets[5]);
  EXPECT_EQ(reader->ticket(107), reprinted.tickets.front()) << "the latest printing wins";
  EXPECT_EQ(reader->ticket(112), reprinted.tickets.back());
  EXPECT_FALSE(reader->ticket(100));
  EXPECT_FALSE(reader->ticket(113));

  // A grid changed by hand into something that is no ticket is no ticket.
  reader.reset();
  sql::Database(folder.file(), sql::OpenMode::readWrite)
      .execute("UPDATE tickets SET grid = '1,2,3' WHERE serial = 101");
  EXPECT_FALSE(GameRecord::open(folder.file(), GameRecord::Access::reader)->ticket(101));
}
