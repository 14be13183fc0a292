// The recorder fed a host's view of long random runs (calls, speed changes, pauses, recalls,
// restarts, completions, repeated views of the same moment) keeps exactly the games a person saw.
#include <algorithm>
#include <numeric>
#include <random>

#include "app/game_record.h"
#include "app/game_recorder.h"
#include "platform/store/sqlite.h"
#include "store_files.h"

namespace {

using app::GamePhase;
using app::GameRecord;

struct ExpectedGame {
  std::vector<int> calls;
  std::vector<int> spokenBalls;
  std::vector<int> speeds;  // the changes after the start
  int startSpeed = 5;
  std::optional<app::GameEnding> ending;
};

// Plays random host moves and remembers what each game should have kept.
class RandomRun {
 public:
  explicit RandomRun(unsigned seed) : random_(seed) { newDraw(); }

  // One host move and the view after it; every move is seen by the recorder.
  const app::ObservedGame& step() {
    const int move = pick(0, 99);
    if (move < 55) {
      callNext();
    } else if (move < 70) {
      showLastCall();
    } else if (move < 78) {
      changeSpeed();
    } else if (move < 86) {
      if (view_.phase == GamePhase::calling)
        view_.phase = pick(0, 1) ? GamePhase::paused : GamePhase::recalling;
    } else if (move < 89) {
      restart();
    }  // else: the same view again, as after a tap that changed nothing
    return view_;
  }
  const std::vector<ExpectedGame>& games() const { return games_; }

 private:
  int pick(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

  void newDraw() {
    draw_.resize(90);
    std::iota(draw_.begin(), draw_.end(), 1);
    std::shuffle(draw_.begin(), draw_.end(), random_);
  }
  ExpectedGame& current() {
    if (games_.empty() || games_.back().ending) games_.push_back({{}, {}, {}, view_.speed, {}});
    return games_.back();
  }
  void callNext() {
    if (view_.phase == GamePhase::completed) return;
    view_.phase = GamePhase::calling;
    auto& game = current();
    if (game.calls.size() == 90) return;
    view_.calledInOrder.push_back(draw_[view_.calledInOrder.size()]);
    game.calls.push_back(view_.calledInOrder.back());
    if (game.calls.size() == 90) {
      view_.phase = GamePhase::completed;
      game.ending = app::GameEnding::completed;
    }
  }
  void showLastCall() {
    if (view_.calledInOrder.empty()) return;
    view_.numberOnShow = view_.calledInOrder.back();
    auto& game = games_.back();
    const int ball = static_cast<int>(view_.calledInOrder.size());
    const auto spoken = [&](int b) {
      return std::find(game.spokenBalls.begin(), game.spokenBalls.end(), b) !=
             game.spokenBalls.end();
    };
    if (game.ending || spoken(ball)) return;
    // The number before, drawn and never heard, is called first in the same list.
    if (ball > 1 && !spoken(ball - 1)) game.spokenBalls.push_back(ball - 1);
    game.spokenBalls.push_back(ball);
  }
  void changeSpeed() {
    const int speed = pick(2, 10);
    if (speed == view_.speed) return;
    view_.speed = speed;
    if (!games_.empty() && !games_.back().ending) games_.back().speeds.push_back(speed);
  }
  void restart() {
    if (view_.phase == GamePhase::notStarted) return;
    if (!games_.empty() && !games_.back().ending) games_.back().ending = app::GameEnding::restarted;
    view_ = {{}, view_.speed, GamePhase::notStarted, std::nullopt};
    newDraw();
  }

  std::mt19937 random_;
  std::vector<int> draw_;
  app::ObservedGame view_;
  std::vector<ExpectedGame> games_;
};

TEST(GameRecorder, KeepsExactlyTheGamesOfALongRandomRun) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    TestFolder folder;
    auto record = GameRecord::open(folder.file(), GameRecord::Access::caller);
    // What is kept is checked here, not how safely: no sync to disk for each of 3000 moves.
    record->database().execute("PRAGMA synchronous=OFF");
    app::GameRecorder recorder(record.get(), "seed 7",
                               [](const std::string& problem) { ADD_FAILURE() << problem; });
    RandomRun run(seed);
    for (int move = 0; move < 3000; ++move) recorder.observe(run.step(), at(move));

    const auto kept = record->games();
    const auto& expected = run.games();
    ASSERT_EQ(kept.size(), expected.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
      const auto game = record->game(kept[i].id);
      std::vector<int> calls, spokenBalls, speeds;
      for (const auto& call : game->calls) {
        calls.push_back(call.number);
        if (call.spokenAt) spokenBalls.push_back(call.ball);
        EXPECT_EQ(call.ball, static_cast<int>(calls.size()));
        EXPECT_LE(game->summary.startedAt, call.drawnAt);
      }
      for (const auto& change : game->speedChanges) speeds.push_back(change.speed);
      EXPECT_EQ(calls, expected[i].calls) << "game " << i;
      EXPECT_EQ(spokenBalls, expected[i].spokenBalls) << "game " << i;
      EXPECT_EQ(speeds, expected[i].speeds) << "game " << i;
      EXPECT_EQ(game->summary.startSpeed, expected[i].startSpeed);
      EXPECT_EQ(game->summary.ending, expected[i].ending) << "game " << i;
      EXPECT_EQ(game->summary.drawSource, "seed 7");
    }
  }
}

}  // namespace
