#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tickets/book.h"

namespace platform::sqlite {
class Database;
}

namespace app {

using Moment = std::chrono::system_clock::time_point;
using GameId = std::int64_t;

// How a kept game ended. A game with no ending is unfinished: the caller stopped (crash, power
// cut, quit) while it was being called, and it can be resumed.
enum class GameEnding { completed, restarted, interrupted };
const char* endingName(std::optional<GameEnding> ending);  // "unfinished" for none

struct CallRow {
  int ball = 0;  // 1 for the first number of the game, up to 90
  int number = 0;
  Moment drawnAt;
  std::optional<Moment> spokenAt;  // when its first item was handed to speech
};

struct SpeedChange {
  Moment at;
  int speed = 0;
};

struct GameSummary {
  GameId id = 0;
  Moment startedAt;
  std::optional<Moment> endedAt;
  std::optional<GameEnding> ending;
  std::string drawSource;  // "secure", "seed 7", "draw-order 7,45,3"
  int startSpeed = 5;
  int ballsCalled = 0;
};

struct GameDetails {
  GameSummary summary;
  std::vector<CallRow> calls;
  std::vector<SpeedChange> speedChanges;
  // The numbers in the order they were called, as --draw-order takes them: "7,45,3".
  std::string drawOrder() const;
};

// A claim checked during a game: at which ball (how many numbers had been called), on which
// ticket, for which prize ("one line"), the verdict ("good", "late", "bogey", "unknown",
// "closed"), and whether the host confirmed it (a good claim that won the prize).
struct ClaimRow {
  Moment at;
  int ball = 0;
  std::uint32_t serial = 0;
  std::string prize;
  std::string verdict;
  bool confirmed = false;
  bool operator==(const ClaimRow&) const = default;
};

// What resuming a game needs: the numbers called so far in order, the speed, when the last was
// called.
struct UnfinishedGame {
  GameId id = 0;
  std::vector<int> calledInOrder;
  std::vector<bool> spoken;  // per ball: its first item reached speech before the break
  int speed = 5;
  int ballsCalled = 0;
  Moment lastCallAt;
};

// The store cannot be used. problem() says what is wrong with the file ("The game record
// \"/x/Vorlix.sqlite\" is damaged"); what() is the one sentence a caller shows, ending with the
// game going on without keeping it.
class StoreUnavailable : public std::runtime_error {
 public:
  explicit StoreUnavailable(const std::string& problem)
      : std::runtime_error(problem + "; the game goes on without keeping it."), problem_(problem) {}
  const std::string& problem() const { return problem_; }

 private:
  std::string problem_;
};

// The kept games and their calls in one SQLite file. A caller holds the file exclusively while it
// runs; the games commands read it beside a running caller. The file is never overwritten or
// deleted: whatever is wrong with it is reported as StoreUnavailable and the file is left as found.
class GameRecord {
 public:
  enum class Access {
    caller,  // locks the file, creates it when missing, brings an older schema up to date
    reader,  // reads an existing file and changes nothing
  };
  static constexpr int kSchemaVersion = 3;

  // Throws StoreUnavailable with one sentence on any problem with the file.
  static std::unique_ptr<GameRecord> open(const std::filesystem::path& file, Access access);
  ~GameRecord();

  // Writes, each committed (and synced to disk) before it returns; StoreUnavailable on failure.
  // A new game settles any game left unfinished as interrupted.
  GameId startGame(Moment at, const std::string& drawSource, int speed);
  void addCall(GameId game, int ball, int number, Moment drawnAt);
  void markSpoken(GameId game, int ball, Moment at);
  void addSpeedChange(GameId game, int speed, Moment at);
  void endGame(GameId game, GameEnding ending, Moment at);
  // A resumed game is open again.
  void reopenGame(GameId game);

  // A book of tickets printed for the hall (`source`: "seed 7", "secure", "book.json"); a serial
  // kept before belongs to this book from now on.
  void recordBook(const tickets::Book& book, const std::string& source, Moment at);
  void addClaim(GameId game, const ClaimRow& claim);
  void confirmClaim(GameId game, int ball, std::uint32_t serial);

  std::vector<GameSummary> games();
  std::optional<GameDetails> game(GameId id);
  std::optional<GameId> latestGameId();
  // The ticket a serial was last printed as; nothing for a serial in no kept book.
  std::optional<tickets::Ticket> ticket(std::uint32_t serial);
  std::vector<ClaimRow> claims(GameId game);
  // The latest game if it has no ending and at least one call.
  std::optional<UnfinishedGame> unfinishedGame();

  const std::filesystem::path& file() const { return file_; }
  platform::sqlite::Database& database() { return *database_; }

 private:
  struct Parts;
  GameRecord(std::filesystem::path file, std::unique_ptr<Parts> parts);
  template <typename Write>
  void write(const Write& work);

  std::filesystem::path file_;
  std::unique_ptr<Parts> parts_;
  platform::sqlite::Database* database_;
};

// Brings a store's schema up to `version` step by step from the one it has (0 for a new file).
void migrateSchema(platform::sqlite::Database& database, int version);

// Where the caller keeps its games: Vorlix.sqlite in the documents directory,
// $XDG_DATA_HOME/vorlix-caller (by default ~/.local/share/vorlix-caller); none without a home.
std::optional<std::filesystem::path> defaultStoreFile();

// Milliseconds since 1970 in UTC, and ISO 8601 text in UTC ("2026-12-07T19:02:03.120Z").
std::int64_t toMilliseconds(Moment moment);
Moment fromMilliseconds(std::int64_t milliseconds);
std::string isoTime(Moment moment);

}  // namespace app
