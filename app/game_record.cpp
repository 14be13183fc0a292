#include "app/game_record.h"

#include <sqlite3.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/store/file_lock.h"
#include "platform/store/sqlite.h"

namespace app {
namespace {

namespace sql = platform::sqlite;
namespace fs = std::filesystem;

// Each step brings the schema from the version before it to its own; steps are never edited once
// released, only added.
constexpr std::array<const char*, GameRecord::kSchemaVersion> kSchemaSteps = {
    // 1: games and their calls.
    "CREATE TABLE games ("
    "  id INTEGER PRIMARY KEY,"
    "  started_ms INTEGER NOT NULL,"
    "  ended_ms INTEGER,"
    "  ending TEXT CHECK (ending IN ('completed', 'restarted', 'interrupted')),"
    "  draw_source TEXT NOT NULL,"
    "  start_speed INTEGER NOT NULL);"
    "CREATE TABLE calls ("
    "  game_id INTEGER NOT NULL REFERENCES games(id),"
    "  ball INTEGER NOT NULL CHECK (ball BETWEEN 1 AND 90),"
    "  number INTEGER NOT NULL CHECK (number BETWEEN 1 AND 90),"
    "  drawn_ms INTEGER NOT NULL,"
    "  spoken_ms INTEGER,"
    "  PRIMARY KEY (game_id, ball),"
    "  UNIQUE (game_id, number)) WITHOUT ROWID;",
    // 2: the speed changes within a game.
    "CREATE TABLE speed_changes ("
    "  game_id INTEGER NOT NULL REFERENCES games(id),"
    "  changed_ms INTEGER NOT NULL,"
    "  speed INTEGER NOT NULL CHECK (speed BETWEEN 2 AND 10));"
    "CREATE INDEX speed_changes_by_game ON speed_changes (game_id, changed_ms);",
    // 3: the books of tickets printed for the hall, and the claims checked in each game. A serial
    // printed again belongs to the book printed last; the grid is its 27 squares row by row, 0 for
    // an empty one ("6,11,0,37,...").
    "CREATE TABLE books ("
    "  id INTEGER PRIMARY KEY,"
    "  made_ms INTEGER NOT NULL,"
    "  source TEXT NOT NULL,"
    "  first_serial INTEGER NOT NULL,"
    "  last_serial INTEGER NOT NULL);"
    "CREATE TABLE tickets ("
    "  serial INTEGER PRIMARY KEY CHECK (serial BETWEEN 1 AND 999999999),"
    "  book_id INTEGER NOT NULL REFERENCES books(id),"
    "  grid TEXT NOT NULL);"
    "CREATE TABLE claims ("
    "  game_id INTEGER NOT NULL REFERENCES games(id),"
    "  claimed_ms INTEGER NOT NULL,"
    "  ball INTEGER NOT NULL CHECK (ball BETWEEN 0 AND 90),"
    "  serial INTEGER NOT NULL,"
    "  prize TEXT NOT NULL,"
    "  verdict TEXT NOT NULL"
    "    CHECK (verdict IN ('good', 'late', 'bogey', 'unknown', 'closed')),"
    "  confirmed INTEGER NOT NULL DEFAULT 0);"
    "CREATE INDEX claims_by_game ON claims (game_id, claimed_ms);",
};

constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

std::string quoted(const fs::path& file) {
  return "\"" + file.string() + "\"";
}

[[noreturn]] void unavailable(const fs::path& file, const std::string& problem) {
  throw StoreUnavailable("The game record " + quoted(file) + " " + problem);
}

// One sentence for each way SQLite can refuse the file.
[[noreturn]] void unavailable(const fs::path& file, const sql::Error& error) {
  switch (error.primaryCode()) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      unavailable(file, "is in use by another program");
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
      unavailable(file, "cannot be written (read-only)");
    case SQLITE_CORRUPT:
      unavailable(file, "is damaged");
    case SQLITE_NOTADB:
      unavailable(file, "is not a Vorlix game record (not an SQLite file)");
    case SQLITE_FULL:
      unavailable(file, "cannot grow: the disk is full");
    case SQLITE_IOERR:
      unavailable(file, "could not be read or written (" + std::string(error.what()) + ")");
    default:
      unavailable(file, "cannot be used (" + std::string(error.what()) + ")");
  }
}

bool lacksWritePermission(const fs::path& file) {
  std::error_code ignored;
  const auto permissions = fs::status(file, ignored).permissions();
  // Honoured even for root, who could write anyway: the user marked the file as not to be changed.
  return (permissions & (fs::perms::owner_write | fs::perms::group_write |
                         fs::perms::others_write)) == fs::perms::none;
}

// A file that is there but does not start as every SQLite file does is never handed to SQLite.
bool startsAsSqlite(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string header(kSqliteHeader.size(), '\0');
  in.read(header.data(), static_cast<std::streamsize>(header.size()));
  if (in.gcount() == 0) return true;  // an empty file is a new store
  return header == kSqliteHeader;
}

void checkWhatIsThere(const fs::path& file, GameRecord::Access access) {
  std::error_code error;
  const bool exists = fs::exists(file, error);
  if (!exists && access == GameRecord::Access::reader) unavailable(file, "does not exist");
  if (!exists) return;
  if (!fs::is_regular_file(file, error)) unavailable(file, "is not a file");
  if (access == GameRecord::Access::caller && lacksWritePermission(file))
    unavailable(file, "cannot be written (read-only)");
  if (!startsAsSqlite(file)) unavailable(file, "is not a Vorlix game record (not an SQLite file)");
}

std::unique_ptr<platform::ExclusiveFileLock> lockForCaller(const fs::path& file) {
  std::error_code ignored;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ignored);
  auto lock = std::make_unique<platform::ExclusiveFileLock>(file);
  switch (lock->outcome()) {
    case platform::ExclusiveFileLock::Outcome::locked:
      return lock;
    case platform::ExclusiveFileLock::Outcome::heldElsewhere:
      unavailable(file, "is in use by another running caller");
    case platform::ExclusiveFileLock::Outcome::cannotOpen:
      break;
  }
  const int error = lock->openError();
  if (error == EACCES || error == EROFS || error == EPERM)
    unavailable(file, "cannot be written (read-only)");
  if (error == ENOSPC) unavailable(file, "cannot be made: the disk is full");
  unavailable(file, "cannot be opened (" + std::string(std::strerror(error)) + ")");
}

// Reads before anything is written, so a damaged or newer file is left byte for byte as it was.
void checkContents(sql::Database& database, const fs::path& file) {
  const std::string check = database.queryText("PRAGMA quick_check(1)");
  if (check != "ok") unavailable(file, "is damaged");
  const auto version = database.queryInteger("PRAGMA user_version");
  if (version > GameRecord::kSchemaVersion)
    unavailable(file, "was written by a newer Vorlix caller (schema " + std::to_string(version) +
                          "; this one reads up to " + std::to_string(GameRecord::kSchemaVersion) +
                          ")");
}

void readyForWriting(sql::Database& database) {
  // WAL with synchronous=FULL: every commit is on the disk before it returns, so a call survives a
  // power cut the moment it is announced, and readers (the games commands) never block the caller.
  if (database.queryText("PRAGMA journal_mode=WAL") != "wal")
    throw sql::Error(SQLITE_ERROR, "the store cannot be put into WAL mode");
  database.execute("PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;");
  migrateSchema(database, GameRecord::kSchemaVersion);
}

std::optional<GameEnding> endingFromText(const std::string& text) {
  if (text == "completed") return GameEnding::completed;
  if (text == "restarted") return GameEnding::restarted;
  if (text == "interrupted") return GameEnding::interrupted;
  return std::nullopt;
}

std::optional<Moment> optionalMoment(const sql::Statement& row, int column) {
  const auto value = row.optionalInteger(column);
  return value ? std::optional(fromMilliseconds(*value)) : std::nullopt;
}

constexpr const char* kSummaryQuery =
    "SELECT g.id, g.started_ms, g.ended_ms, g.ending, g.draw_source, g.start_speed,"
    "  (SELECT count(*) FROM calls c WHERE c.game_id = g.id) FROM games g";

GameSummary summaryFrom(const sql::Statement& row) {
  GameSummary summary;
  summary.id = row.integer(0);
  summary.startedAt = fromMilliseconds(row.integer(1));
  summary.endedAt = optionalMoment(row, 2);
  summary.ending = endingFromText(row.text(3));
  summary.drawSource = row.text(4);
  summary.startSpeed = static_cast<int>(row.integer(5));
  summary.ballsCalled = static_cast<int>(row.integer(6));
  return summary;
}

}  // namespace

struct GameRecord::Parts {
  std::unique_ptr<platform::ExclusiveFileLock> lock;
  std::unique_ptr<sql::Database> database;
};

const char* endingName(std::optional<GameEnding> ending) {
  if (!ending) return "unfinished";
  switch (*ending) {
    case GameEnding::completed:
      return "completed";
    case GameEnding::restarted:
      return "restarted";
    case GameEnding::interrupted:
      return "interrupted";
  }
  return "unfinished";
}

std::string GameDetails::drawOrder() const {
  std::string order;
  for (const auto& call : calls) {
    if (!order.empty()) order += ',';
    order += std::to_string(call.number);
  }
  return order;
}

void migrateSchema(sql::Database& database, int version) {
  auto current = static_cast<int>(database.queryInteger("PRAGMA user_version"));
  for (; current < version; ++current) {
    sql::Transaction step(database);
    database.execute(kSchemaSteps.at(static_cast<std::size_t>(current)));
    database.execute("PRAGMA user_version=" + std::to_string(current + 1));
    step.commit();
  }
}

std::unique_ptr<GameRecord> GameRecord::open(const fs::path& file, Access access) {
  checkWhatIsThere(file, access);
  auto parts = std::make_unique<Parts>();
  if (access == Access::caller) parts->lock = lockForCaller(file);
  try {
    parts->database = std::make_unique<sql::Database>(
        file, access == Access::caller ? sql::OpenMode::readWrite : sql::OpenMode::readOnly);
    checkContents(*parts->database, file);
    if (access == Access::caller) {
      readyForWriting(*parts->database);
    } else if (parts->database->queryInteger("PRAGMA user_version") < kSchemaVersion) {
      unavailable(file,
                  "is from an older Vorlix caller; start the caller once to bring it up to date");
    }
  } catch (const sql::Error& error) {
    unavailable(file, error);
  }
  return std::unique_ptr<GameRecord>(new GameRecord(file, std::move(parts)));
}

GameRecord::GameRecord(fs::path file, std::unique_ptr<Parts> parts)
    : file_(std::move(file)), parts_(std::move(parts)), database_(parts_->database.get()) {}

GameRecord::~GameRecord() = default;

template <typename Write>
void GameRecord::write(const Write& work) {
  try {
    sql::Transaction transaction(*database_);
    work(*database_);
    transaction.commit();
  } catch (const sql::Error& error) {
    unavailable(file_, error);
  }
}

GameId GameRecord::startGame(Moment at, const std::string& drawSource, int speed) {
  GameId id = 0;
  write([&](sql::Database& db) {
    db.prepare(
          "UPDATE games SET ending = 'interrupted', ended_ms = coalesce("
          "  (SELECT max(drawn_ms) FROM calls WHERE game_id = games.id), started_ms)"
          " WHERE ending IS NULL")
        .run();
    db.prepare("INSERT INTO games (started_ms, draw_source, start_speed) VALUES (?, ?, ?)")
        .bind(1, toMilliseconds(at))
        .bind(2, drawSource)
        .bind(3, speed)
        .run();
    id = db.lastInsertRowId();
  });
  return id;
}

void GameRecord::addCall(GameId game, int ball, int number, Moment drawnAt) {
  write([&](sql::Database& db) {
    db.prepare("INSERT INTO calls (game_id, ball, number, drawn_ms) VALUES (?, ?, ?, ?)")
        .bind(1, game)
        .bind(2, ball)
        .bind(3, number)
        .bind(4, toMilliseconds(drawnAt))
        .run();
  });
}

void GameRecord::markSpoken(GameId game, int ball, Moment at) {
  write([&](sql::Database& db) {
    db.prepare("UPDATE calls SET spoken_ms = ? WHERE game_id = ? AND ball = ?")
        .bind(1, toMilliseconds(at))
        .bind(2, game)
        .bind(3, ball)
        .run();
  });
}

void GameRecord::addSpeedChange(GameId game, int speed, Moment at) {
  write([&](sql::Database& db) {
    db.prepare("INSERT INTO speed_changes (game_id, changed_ms, speed) VALUES (?, ?, ?)")
        .bind(1, game)
        .bind(2, toMilliseconds(at))
        .bind(3, speed)
        .run();
  });
}

void GameRecord::endGame(GameId game, GameEnding ending, Moment at) {
  write([&](sql::Database& db) {
    db.prepare("UPDATE games SET ending = ?, ended_ms = ? WHERE id = ?")
        .bind(1, std::string_view(endingName(ending)))
        .bind(2, toMilliseconds(at))
        .bind(3, game)
        .run();
  });
}

void GameRecord::reopenGame(GameId game) {
  write([&](sql::Database& db) {
    db.prepare("UPDATE games SET ending = NULL, ended_ms = NULL WHERE id = ?").bind(1, game).run();
  });
}

std::vector<GameSummary> GameRecord::games() {
  std::vector<GameSummary> games;
  try {
    auto rows = database_->prepare(std::string(kSummaryQuery) + " ORDER BY g.id");
    while (rows.step()) games.push_back(summaryFrom(rows));
  } catch (const sql::Error& error) {
    unavailable(file_, error);
  }
  return games;
}

std::optional<GameDetails> GameRecord::game(GameId id) {
  try {
    auto summary = database_->prepare(std::string(kSummaryQuery) + " WHERE g.id = ?");
    summary.bind(1, id);
    if (!summary.step()) return std::nullopt;
    GameDetails details{summaryFrom(summary), {}, {}};
    auto calls = database_->prepare(
        "SELECT ball, number, drawn_ms, spoken_ms FROM calls WHERE game_id = ? ORDER BY ball");
    calls.bind(1, id);
    while (calls.step())
      details.calls.push_back({static_cast<int>(calls.integer(0)),
                               static_cast<int>(calls.integer(1)),
                               fromMilliseconds(calls.integer(2)), optionalMoment(calls, 3)});
    auto speeds = database_->prepare(
        "SELECT changed_ms, speed FROM speed_changes WHERE game_id = ? ORDER BY changed_ms, rowid");
    speeds.bind(1, id);
    while (speeds.step())
      details.speedChanges.push_back(
          {fromMilliseconds(speeds.integer(0)), static_cast<int>(speeds.integer(1))});
    return details;
  } catch (const sql::Error& error) {
    unavailable(file_, error);
  }
}

std::optional<GameId> GameRecord::latestGameId() {
  try {
    auto row = database_->prepare("SELECT max(id) FROM games");
    row.step();
    return row.optionalInteger(0);
  } catch (const sql::Error& error) {
    unavailable(file_, error);
  }
}

std::optional<UnfinishedGame> GameRecord::unfinishedGame() {
  const auto latest = latestGameId();
  if (!latest) return std::nullopt;
  const auto details = game(*latest);
  if (!details || details->summary.ending || details->calls.empty()) return std::nullopt;
  UnfinishedGame unfinished;
  unfinished.id = *latest;
  for (const auto& call : details->calls) {
    unfinished.calledInOrder.push_back(call.number);
    unfinished.spoken.push_back(call.spokenAt.has_value());
  }
  unfinished.speed = details->speedChanges.empty() ? details->summary.startSpeed
                                                   : details->speedChanges.back().speed;
  unfinished.ballsCalled = static_cast<int>(details->calls.size());
  unfinished.lastCallAt = details->calls.back().drawnAt;
  return unfinished;
}

namespace {

std::string gridText(const tickets::Grid& grid) {
  std::string text;
  for (const auto& row : grid)
    for (const int number : row) text += (text.empty() ? "" : ",") + std::to_string(number);
  return text;
}

// A grid read back; nothing when the text is not 27 numbers that make a valid ticket.
std::optional<tickets::Grid> gridFromText(const std::string& text) {
  tickets::Grid grid{};
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  for (auto& row : grid) {
    for (int& number : row) {
      const auto [next, error] = std::from_chars(at, end, number);
      if (error != std::errc()) return std::nullopt;
      at = next < end && *next == ',' ? next + 1 : next;
    }
  }
  if (at != end || tickets::ticketFault(grid)) return std::nullopt;
  return grid;
}

}  // namespace

void GameRecord::recordBook(const tickets::Book& book, const std::string& source, Moment at) {
  if (book.tickets.empty()) return;
  write([&](sql::Database& db) {
    db.prepare("INSERT INTO books (made_ms, source, first_serial, last_serial) VALUES (?, ?, ?, ?)")
        .bind(1, toMilliseconds(at))
        .bind(2, source)
        .bind(3, static_cast<std::int64_t>(book.tickets.front().serial))
        .bind(4, static_cast<std::int64_t>(book.tickets.back().serial))
        .run();
    const auto bookId = db.lastInsertRowId();
    auto insert =
        db.prepare("INSERT OR REPLACE INTO tickets (serial, book_id, grid) VALUES (?, ?, ?)");
    for (const auto& ticket : book.tickets) {
      insert.bind(1, static_cast<std::int64_t>(ticket.serial))
          .bind(2, bookId)
          .bind(3, gridText(ticket.grid))
          .run();
      insert.reset();
    }
  });
}

std::optional<tickets::Ticket> GameRecord::ticket(std::uint32_t serial) {
  try {
    auto row = database_->prepare("SELECT grid FROM tickets WHERE serial = ?");
    row.bind(1, static_cast<std::int64_t>(serial));
    if (!row.step()) return std::nullopt;
    const auto grid = gridFromText(row.text(0));
    if (!grid) return std::nullopt;
    return tickets::Ticket{serial, *grid};
  } catch (const sql::Error& error) {
    unavailable(file_, error);
  }
}

void GameRecord::addClaim(GameId game, const ClaimRow& claim) {
  write([&](sql::Database& db) {
    db.prepare(
          "INSERT INTO claims (game_id, claimed_ms, ball, serial, prize, verdict, confirmed)"
          " VALUES (?, ?, ?, ?, ?, ?, ?)")
        .bind(1, game)
        .bind(2, toMilliseconds(claim.at))
        .bind(3, claim.ball)
        .bind(4, static_cast<std::int64_t>(claim.serial))
        .bind(5, claim.prize)
        .bind(6, claim.verdict)
        .bind(7, claim.confirmed ? 1 : 0)
        .run();
  });
}

void GameRecord::confirmClaim(GameId game, int ball, std::uint32_t serial) {
  write([&](sql::Database& db) {
    db.prepare(
          "UPDATE claims SET confirmed = 1 WHERE game_id = ? AND ball = ? AND serial = ?"
          " AND verdict = 'good'")
        .bind(1, game)
        .bind(2, ball)
        .bind(3, static_cast<std::int64_t>(serial))
        .run();
  });
}

std::vector<ClaimRow> GameRecord::claims(GameId game) {
  std::vector<ClaimRow> claims;
  try {
    auto rows = database_->prepare(
        "SELECT claimed_ms, ball, serial, prize, verdict, confirmed FROM claims"
        " WHERE game_id = ? ORDER BY claimed_ms, rowid");
    rows.bind(1, game);
    while (rows.step())
      claims.push_back({fromMilliseconds(rows.integer(0)), static_cast<int>(rows.integer(1)),
                        static_cast<std::uint32_t>(rows.integer(2)), rows.text(3), rows.text(4),
                        rows.integer(5) != 0});
  } catch (const sql::Error& error) {
    unavailable(file_, error);
  }
  return claims;
}

std::optional<fs::path> defaultStoreFile() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  // The XDG rules ignore a relative XDG_DATA_HOME.
  if (dataHome != nullptr && *dataHome == '/')
    return fs::path(dataHome) / "vorlix-caller" / "Vorlix.sqlite";
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return std::nullopt;
  return fs::path(home) / ".local" / "share" / "vorlix-caller" / "Vorlix.sqlite";
}

std::int64_t toMilliseconds(Moment moment) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count();
}

Moment fromMilliseconds(std::int64_t milliseconds) {
  return Moment(
      std::chrono::duration_cast<Moment::duration>(std::chrono::milliseconds(milliseconds)));
}

std::string isoTime(Moment moment) {
  const auto milliseconds = toMilliseconds(moment);
  const auto seconds = static_cast<std::time_t>(milliseconds / 1000 - (milliseconds % 1000 < 0));
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(((milliseconds % 1000) + 1000) % 1000));
  return text;
}

}  // namespace app
