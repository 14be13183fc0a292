#include "app/game_recorder.h"

#include <algorithm>

namespace app {

std::string drawSourceText(std::optional<std::uint64_t> seed,
                           const std::vector<std::uint32_t>& drawOrder) {
  const std::string random = seed ? "seed " + std::to_string(*seed) : "secure";
  if (drawOrder.empty()) return random;
  std::string text = "draw-order ";
  for (std::size_t i = 0; i < drawOrder.size(); ++i)
    text += (i ? "," : "") + std::to_string(drawOrder[i]);
  return seed ? text + " then " + random : text;
}

GameRecorder::GameRecorder(GameRecord* record, std::string drawSource, ProblemReport reportProblem)
    : record_(record),
      drawSource_(std::move(drawSource)),
      reportProblem_(std::move(reportProblem)) {}

void GameRecorder::observe(const ObservedGame& game, Moment now) {
  if (!record_) return;
  try {
    if (restartSeen(game)) {
      if (game_) endGame(GameEnding::restarted, now);
      recorded_.clear();
      spoken_.clear();
    }
    // A completed game stays on screen until a restart; it is not a new game.
    const bool playing = game.phase != GamePhase::notStarted || !game.calledInOrder.empty();
    if (!game_ && recorded_.empty() && playing) startGame(game, now);
    if (!game_) return;
    if (game.speed != speed_) {
      record_->addSpeedChange(*game_, game.speed, now);
      speed_ = game.speed;
    }
    recordNewCalls(game, now);
    recordSpoken(game, now);
    if (game.phase == GamePhase::completed) endGame(GameEnding::completed, now);
  } catch (const StoreUnavailable& problem) {
    record_ = nullptr;
    if (reportProblem_) reportProblem_(problem.what());
  }
}

template <typename Write>
void GameRecorder::keep(const Write& write) {
  if (!record_ || !game_) return;
  try {
    write(*record_, *game_);
  } catch (const StoreUnavailable& problem) {
    record_ = nullptr;
    if (reportProblem_) reportProblem_(problem.what());
  }
}

void GameRecorder::recordClaim(const ClaimRow& claim) {
  keep([&](GameRecord& record, GameId game) { record.addClaim(game, claim); });
}

void GameRecorder::recordConfirmation(int ball, std::uint32_t serial) {
  keep([&](GameRecord& record, GameId game) { record.confirmClaim(game, ball, serial); });
}

void GameRecorder::resume(const UnfinishedGame& game) {
  if (!record_) return;
  try {
    record_->reopenGame(game.id);
    game_ = game.id;
    recorded_ = game.calledInOrder;
    spoken_ = game.spoken;
    spoken_.resize(recorded_.size(), false);
    speed_ = game.speed;
  } catch (const StoreUnavailable& problem) {
    record_ = nullptr;
    if (reportProblem_) reportProblem_(problem.what());
  }
}

// What was kept is no longer the beginning of the calls (they went back to empty), or the game is
// back at not started after having begun.
bool GameRecorder::restartSeen(const ObservedGame& game) const {
  const auto& calls = game.calledInOrder;
  const bool stillExtends = calls.size() >= recorded_.size() &&
                            std::equal(recorded_.begin(), recorded_.end(), calls.begin());
  const bool begun = game_.has_value() || !recorded_.empty();
  return !stillExtends || (begun && game.phase == GamePhase::notStarted && calls.empty());
}

void GameRecorder::startGame(const ObservedGame& game, Moment now) {
  game_ = record_->startGame(now, drawSource_, game.speed);
  speed_ = game.speed;
}

void GameRecorder::recordNewCalls(const ObservedGame& game, Moment now) {
  for (auto ball = recorded_.size(); ball < game.calledInOrder.size(); ++ball) {
    record_->addCall(*game_, static_cast<int>(ball + 1), game.calledInOrder[ball], now);
    recorded_.push_back(game.calledInOrder[ball]);
    spoken_.push_back(false);
  }
}

void GameRecorder::recordSpoken(const ObservedGame& game, Moment now) {
  if (!game.numberOnShow) return;
  const auto found = std::find(recorded_.begin(), recorded_.end(), *game.numberOnShow);
  if (found == recorded_.end()) return;
  const auto ball = static_cast<std::size_t>(found - recorded_.begin());
  if (spoken_[ball]) return;
  // A number on show while the one drawn before it was never heard: Play after a pause calls that
  // one first, in the same list, so its first item is handed to speech now too.
  if (ball > 0 && !spoken_[ball - 1]) markSpoken(ball - 1, now);
  markSpoken(ball, now);
}

void GameRecorder::markSpoken(std::size_t ball, Moment now) {
  record_->markSpoken(*game_, static_cast<int>(ball + 1), now);
  spoken_[ball] = true;
}

void GameRecorder::endGame(GameEnding ending, Moment now) {
  const auto game = *game_;
  game_.reset();
  record_->endGame(game, ending, now);
}

}  // namespace app
