// The real program keeps the game it calls: a whole game's calls as its transcript calls them,
// runs killed at random moments and resumed losing no call and repeating none, the question at
// launch, and stores it cannot use told in one sentence while the game goes on.
#include <signal.h>

#include <chrono>
#include <optional>
#include <random>
#include <regex>
#include <set>

#include "app/game_record.h"
#include "store_files.h"
#include "support/program_run.h"

namespace {

namespace fs = std::filesystem;
using app::GameRecord;

// Runs a script through the caller (no live sound) on the given store, killed with SIGKILL after
// `killAfter` seconds when given and it is still running then.
ProgramRun runCaller(const fs::path& store, const std::string& arguments, const std::string& script,
                     double killAfter = 0.0) {
  return runProgram("--script - --audio none --store " + store.string() + " " + arguments, script,
                    killAfter);
}
bool killed(const ProgramRun& run) {
  return run.exitCode == 128 + SIGKILL;
}

// How long a whole game takes on the virtual clock with this build, start to end: an optimised
// build calls it several times faster than a sanitised one, and a kill meant to land among the
// store's writes must come before the game is over.
double secondsOfAWholeGame(const TestFolder& folder) {
  const auto start = std::chrono::steady_clock::now();
  const auto run = runCaller(folder.file("whole-game.sqlite"), "", "tap Play\nuntil-idle\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct TranscriptCalls {
  std::vector<int> order;                     // each number once, in the order its call began
  std::vector<std::pair<int, double>> shown;  // a number put on the title, and when
};

// Read from the lines said (a number said whole: "Single number 7", "45") and the titles.
TranscriptCalls callsIn(const std::string& transcript) {
  static const std::regex said(R"(^([\d.]+) say (?:Single number (\d)|(\d\d))$)");
  static const std::regex title(R"(^([\d.]+) title Vorlix @ Korvanda Castle \[(\d+)\]$)");
  TranscriptCalls calls;
  std::istringstream lines(transcript);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_match(line, match, said)) {
      const int number = std::stoi(match[2].matched ? match[2] : match[3]);
      if (std::find(calls.order.begin(), calls.order.end(), number) == calls.order.end())
        calls.order.push_back(number);
    } else if (std::regex_match(line, match, title)) {
      calls.shown.emplace_back(std::stoi(match[2]), std::stod(match[1]));
    }
  }
  return calls;
}

std::optional<app::GameDetails> latestGame(const fs::path& file) {
  const auto record = GameRecord::open(file, GameRecord::Access::reader);
  const auto id = record->latestGameId();
  if (!id) return std::nullopt;
  return record->game(*id);
}

std::vector<int> numbersOf(const app::GameDetails& game) {
  std::vector<int> numbers;
  for (const auto& call : game.calls) numbers.push_back(call.number);
  return numbers;
}

bool isPrefix(const std::vector<int>& before, const std::vector<int>& after) {
  return before.size() <= after.size() && std::equal(before.begin(), before.end(), after.begin());
}

// Every call is kept as the transcript makes it, ball by ball, with the moment its number went on
// the title; each number called twice, paused, and with the speed changed.
TEST(LiveRecord, AWholeGamesCallsAreKeptAsTheTranscriptCallsThem) {
  TestFolder folder;
  const auto run = runCaller(folder.file(), "--repeat-twice --draw-order 7,45 --seed 3",
                             "tap 3\ntap Play\nwait 101.3\ntap Pause\nwait 5\ntap 8\ntap Play\n"
                             "wait 33\ntap Pause\ntap Play\nuntil-idle\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto game = latestGame(folder.file());
  ASSERT_TRUE(game);
  const auto calls = callsIn(run.out);
  EXPECT_EQ(numbersOf(*game), calls.order);
  ASSERT_EQ(game->calls.size(), 90u);
  for (std::size_t i = 0; i < game->calls.size(); ++i) {
    const auto& call = game->calls[i];
    EXPECT_EQ(call.ball, static_cast<int>(i + 1));
    ASSERT_TRUE(call.spokenAt) << "ball " << call.ball;
    EXPECT_LE(call.drawnAt, *call.spokenAt);
  }
  for (const auto& [number, seconds] : calls.shown) {
    const auto call = std::find_if(game->calls.begin(), game->calls.end(),
                                   [&](const auto& c) { return c.number == number; });
    ASSERT_NE(call, game->calls.end());
    const auto offset =
        app::toMilliseconds(*call->spokenAt) - app::toMilliseconds(game->summary.startedAt);
    EXPECT_NEAR(static_cast<double>(offset), seconds * 1000.0, 1.0) << number;
  }
  EXPECT_EQ(game->summary.ending, app::GameEnding::completed);
  EXPECT_EQ(game->summary.drawSource, "draw-order 7,45 then seed 3");
  EXPECT_EQ(game->summary.startSpeed, 3);
  ASSERT_EQ(game->speedChanges.size(), 1u);
  EXPECT_EQ(game->speedChanges[0].speed, 8);
}

// One game carried through a chain of runs, each killed with SIGKILL at a random moment and the
// next started with --resume: first on the real clock at the fastest speed (kills between a draw
// and its call, in the middle of a number), then on the virtual clock (kills in the middle of the
// store's writes, late into the game), then run to its end. After every kill the store holds every
// number the killed run had begun to call, what it held before, and no number twice.
TEST(LiveRecord, KilledAtRandomMomentsAndResumedTheGameLosesNoCallAndRepeatsNone) {
  TestFolder folder;
  std::mt19937 random(20261207);
  std::vector<int> kept;
  std::optional<app::GameId> gameId;
  int kills = 0;
  std::string history;  // the balls kept after each run
  const auto runOnce = [&](const std::string& clock, const std::string& script, double killAfter) {
    const auto run = runCaller(folder.file(), "--resume " + clock, script, killAfter);
    kills += killed(run);
    EXPECT_TRUE(killed(run) || run.exitCode == 0) << run.err;
    EXPECT_EQ(run.out.find(" alert Unfinished game"), std::string::npos) << "--resume asks nothing";
    const auto game = latestGame(folder.file());
    if (!game) return false;
    if (!gameId) gameId = game->summary.id;
    EXPECT_EQ(game->summary.id, *gameId) << "the same game throughout";
    const auto numbers = numbersOf(*game);
    EXPECT_TRUE(isPrefix(kept, numbers)) << "what was kept stays as it was";
    EXPECT_EQ(std::set<int>(numbers.begin(), numbers.end()).size(), numbers.size())
        << "a number drawn twice";
    for (const int announced : callsIn(run.out).order)
      EXPECT_NE(std::find(numbers.begin(), numbers.end(), announced), numbers.end())
          << announced << " was called but is not kept";
    kept = numbers;
    history += (killed(run) ? " killed at " : " ended at ") + std::to_string(kept.size());
    return game->summary.ending.has_value();
  };

  bool ended = false;
  for (int run = 0; run < 12 && !ended; ++run)
    ended =
        runOnce("--clock real", run == 0 ? "tap 2\ntap Play\nwait 600\n" : "tap Play\nwait 600\n",
                std::uniform_int_distribution(300, 2600)(random) / 1000.0);
  // The moment of each kill follows the game: one run that called more than a sixth of the game
  // brings the next kill sooner, one killed before it called anything brings it later. Timed once
  // from a whole game, a busy moment of the machine (a slow disk flush) put the kills after the
  // game's end.
  double killAfter = secondsOfAWholeGame(folder) / 3;
  for (int run = 0; run < 25 && !ended; ++run) {
    const std::size_t before = kept.size();
    ended = runOnce("", "tap Play\nuntil-idle\n",
                    killAfter * std::uniform_real_distribution(0.7, 1.3)(random));
    if (kept.size() - before > 15)
      killAfter *= 0.7;
    else if (kept.size() == before)
      killAfter *= 1.3;
  }
  if (!ended) ended = runOnce("", "tap Play\nuntil-idle\n", 0.0);

  EXPECT_TRUE(ended) << history;
  EXPECT_GE(kills, 15) << history;
  const auto game = latestGame(folder.file());
  ASSERT_TRUE(game);
  EXPECT_EQ(game->summary.ending, app::GameEnding::completed);
  ASSERT_EQ(kept.size(), 90u);
  EXPECT_EQ(std::set<int>(kept.begin(), kept.end()).size(), 90u);
  EXPECT_EQ(game->summary.startSpeed, 2);
}

// Without --resume or --new-game the caller asks; No leaves the unfinished game to be settled as
// interrupted when the next one begins, --new-game does so without asking, Yes carries it on.
TEST(LiveRecord, TheQuestionAtLaunchAndItsAnswers) {
  TestFolder folder;
  const auto store = folder.file();
  ASSERT_EQ(runCaller(store, "--seed 5", "tap Play\nwait 30\n").exitCode, 0);
  const auto first = latestGame(folder.file());
  ASSERT_TRUE(first);
  const auto balls = std::to_string(first->calls.size());

  const auto no = runCaller(store, "--seed 5", "tap Play\nanswer No\ntap Play\nwait 7\n");
  EXPECT_EQ(no.exitCode, 0) << no.err;
  EXPECT_TRUE(std::regex_search(
      no.out,
      std::regex("^0\\.000 ready\n0\\.000 alert Unfinished game \\| Resume the game interrupted at "
                 "ball " +
                 balls +
                 " \\(called \\d\\d:\\d\\d\\)\\? \\| Yes, No\n0\\.000 tap-ignored "
                 "Play\n0\\.000 answer No\n0\\.000 tap Play\n")))
      << no.out;

  const auto newGame = runCaller(store, "--seed 5 --new-game", "tap Play\nwait 7\n");
  EXPECT_EQ(newGame.out.find("alert"), std::string::npos);
  const auto beforeYes = latestGame(folder.file());
  int onShow = 0;  // the last number whose call had begun
  for (const auto& call : beforeYes->calls)
    if (call.spokenAt) onShow = call.number;

  const auto yes = runCaller(store, "--seed 5", "answer Yes\ntap Play\nwait 3\n");
  EXPECT_EQ(yes.exitCode, 0) << yes.err;
  EXPECT_NE(yes.out.find("0.000 answer Yes\n0.000 title Vorlix @ Korvanda Castle [" +
                         std::to_string(onShow) + "]\n"),
            std::string::npos)
      << yes.out;
  EXPECT_NE(yes.out.find("0.000 say Announcing new numbers! Silence please!\n"), std::string::npos);

  const auto record = GameRecord::open(folder.file(), GameRecord::Access::reader);
  const auto kept = record->games();
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept[0].ending, app::GameEnding::interrupted);
  EXPECT_EQ(kept[1].ending, app::GameEnding::interrupted);
  EXPECT_EQ(kept[2].ending, std::nullopt);
  EXPECT_EQ(kept[2].ballsCalled, static_cast<int>(beforeYes->calls.size()) + 1) << "it goes on";
}

// A store the caller cannot use: one sentence on standard error, the game exactly as without a
// store, the file byte for byte as it was. A second caller on a store in use is one of them.
TEST(LiveRecord, AStoreThatCannotBeUsedIsToldAndTheGameGoesOnWithoutIt) {
  auto cases = brokenStores();
  std::unique_ptr<GameRecord> holder;
  cases.push_back(
      {"in use",
       [&](const fs::path& f) { holder = GameRecord::open(f, GameRecord::Access::caller); },
       "is in use by another running caller"});
  const std::string script = "tap Play\nwait 40\ntap Pause\n";
  const auto plain = runProgram("--script - --audio none --no-store --seed 4", script);
  ASSERT_EQ(plain.exitCode, 0);
  tryEachBrokenStore(cases, [&](const BrokenStore& broken, const fs::path& file) {
    const auto run = runCaller(file, "--seed 4", script);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, plain.out);
    EXPECT_EQ(run.err, "vorlix-caller: " + unusableStoreSentence(file, broken.sentence) + "\n");
  });  // the store in use comes last: its holder lets go after the file has been compared
}

}  // namespace
