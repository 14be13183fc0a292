#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/game_record.h"
#include "app/screen_snapshot.h"

namespace app {

// The game as a host sees it at one moment; the recorder needs nothing else.
struct ObservedGame {
  std::vector<int> calledInOrder;  // every number drawn so far this game, in order
  int speed = 5;
  GamePhase phase = GamePhase::notStarted;
  // The number the title shows: its first item has been handed to speech.
  std::optional<int> numberOnShow;
};

// How a run draws its numbers, as a kept game names it: "secure" (the system's generator),
// "seed 7", "draw-order 7,45" (those first, then the secure generator) or
// "draw-order 7,45 then seed 7".
std::string drawSourceText(std::optional<std::uint64_t> seed,
                           const std::vector<std::uint32_t>& drawOrder);

// Keeps the game being played in a GameRecord. It is shown the game after every change and works
// out what is new by comparing with what it last saw: a game begins when calling first starts,
// each new number is committed the moment it is seen (before its first item is spoken, when the
// host observes right after the draw), a speed change is noted, the calls going back to empty is
// a restart, and the completed phase ends the game. When the store fails, the recorder tells the
// host once and keeps nothing more; the game itself goes on.
class GameRecorder {
 public:
  using ProblemReport = std::function<void(const std::string& sentence)>;

  // `record` may be null (no store): then the recorder does nothing. `drawSource` names the draw
  // of this run ("secure", "seed 7", "draw-order 7,45,3") for every game it starts.
  GameRecorder(GameRecord* record, std::string drawSource, ProblemReport reportProblem);

  // Keeps from now on in `record` (until then there was none): the record may open after the
  // recorder is made.
  void attach(GameRecord* record) { record_ = record; }

  void observe(const ObservedGame& game, Moment now);
  // Carries on keeping an unfinished game that the host has restored from the store.
  void resume(const UnfinishedGame& game);

  // Keeps a claim checked in the current game, and the host's confirmation of a good one. Outside
  // a game (before the first call) nothing is kept.
  void recordClaim(const ClaimRow& claim);
  void recordConfirmation(int ball, std::uint32_t serial);

  bool keeping() const { return record_ != nullptr; }
  std::optional<GameId> currentGame() const { return game_; }

 private:
  bool restartSeen(const ObservedGame& game) const;
  void startGame(const ObservedGame& game, Moment now);
  void recordNewCalls(const ObservedGame& game, Moment now);
  void recordSpoken(const ObservedGame& game, Moment now);
  void markSpoken(std::size_t ball, Moment now);
  void endGame(GameEnding ending, Moment now);
  template <typename Write>
  void keep(const Write& write);

  GameRecord* record_;
  std::string drawSource_;
  ProblemReport reportProblem_;
  std::optional<GameId> game_;
  std::vector<int> recorded_;  // the calls of the current game, or of the last one until restart
  std::vector<bool> spoken_;   // per recorded call: its spoken moment is kept
  int speed_ = 0;              // the last speed kept for the current game
};

}  // namespace app
