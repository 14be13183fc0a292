// `vorlix-caller games` through the real program: the list, a game's calls, the exports read back
// by Python's csv and json modules and replayed with --draw-order @FILE.
#include <algorithm>
#include <numeric>
#include <random>
#include <regex>

#include "app/game_record.h"
#include "store_files.h"

namespace {

using app::GameRecord;

ProgramRun games(const TestFolder& folder, const std::string& arguments) {
  return runProgram("games " + arguments + " --store " + folder.file().string());
}

// "ball:number:drawn_at:spoken_at" for every call, as the exports should carry them.
std::string callsText(const app::GameDetails& game) {
  std::string text;
  for (const auto& call : game.calls)
    text += std::to_string(call.ball) + ":" + std::to_string(call.number) + ":" +
            app::isoTime(call.drawnAt) + ":" + (call.spokenAt ? app::isoTime(*call.spokenAt) : "") +
            " ";
  return text + "\n";
}

constexpr const char* kReadCsv =
    "import csv, sys\n"
    "rows = list(csv.DictReader(open(sys.argv[1], newline='', encoding='utf-8'), strict=True))\n"
    "print(''.join(f\"{r['ball']}:{r['number']}:{r['drawn_at']}:{r['spoken_at']} \" for r in "
    "rows))\n";
constexpr const char* kReadJson =
    "import json, sys\n"
    "g = json.load(open(sys.argv[1], encoding='utf-8'))\n"
    "assert g['order'] == ','.join(str(c['number']) for c in g['calls']), g['order']\n"
    "assert g['ending'] == 'unfinished' and g['ended_at'] is None and g['draw_source'] == 'seed "
    "7'\n"
    "assert [s['speed'] for s in g['speed_changes']] == [3]\n"
    "print(''.join(f\"{c['ball']}:{c['number']}:{c['drawn_at']}:{c['spoken_at'] or ''} \" for c "
    "in g['calls']))\n";

ProgramRun python(const char* program, const std::filesystem::path& file) {
  return runShell("python3 - " + file.string(), program);
}

TEST(GamesCommand, ListsShowsAndExportsWhatPythonReadsBack) {
  TestFolder folder;
  std::vector<int> order(90);
  std::iota(order.begin(), order.end(), 1);
  std::shuffle(order.begin(), order.end(), std::mt19937(11));
  app::GameId open = 0;
  {
    auto record = GameRecord::open(folder.file(), GameRecord::Access::caller);
    keepGame(*record, {90, 1}, app::GameEnding::restarted);
    keepGame(*record, order);
    open = record->startGame(at(5000), "seed 7", 5);
    record->addSpeedChange(open, 3, at(5001));
    for (int ball = 1; ball <= 30; ++ball)
      record->addCall(open, ball, order[static_cast<std::size_t>(ball - 1)], at(5000 + ball));
    record->markSpoken(open, 1, at(5001.25));
  }
  const auto expected = GameRecord::open(folder.file(), GameRecord::Access::reader)->game(open);

  const auto list = games(folder, "");
  EXPECT_EQ(list.exitCode, 0) << list.err;
  EXPECT_TRUE(std::regex_search(
      list.out,
      std::regex(
          R"(\n +1  \d{4}-\d\d-\d\d \d\d:\d\d:\d\d +2  restarted\n +2  .* +90  completed\n +3  .* +30  unfinished\n)")))
      << list.out;
  const auto show = games(folder, "show last");
  EXPECT_EQ(show.exitCode, 0) << show.err;
  EXPECT_NE(show.out.find("Game 3: started"), std::string::npos) << show.out;
  EXPECT_NE(show.out.find("Draw: seed 7\nSpeed: 5, 3 at "), std::string::npos) << show.out;
  EXPECT_EQ(std::count(show.out.begin(), show.out.end(), '\n'), 5 + 30);

  // Each export reads back in Python, and a replay of it calls the same numbers in the same order.
  for (const auto& [format, reader] : {std::pair{"csv", kReadCsv}, std::pair{"json", kReadJson}}) {
    SCOPED_TRACE(format);
    const auto exported = folder.file(std::string("game.") + format);
    const auto run =
        games(folder, std::string("export 3 --format ") + format + " --out " + exported.string());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto read = python(reader, exported);
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, callsText(*expected));
    const auto replay = runProgram("--silent --script - --draw-order @" + exported.string(),
                                   "tap 2\ntap Play\nuntil-idle\n");
    ASSERT_EQ(replay.exitCode, 0) << replay.err;
    std::vector<int> called;
    const std::regex title(R"(title Vorlix @ Korvanda Castle \[(\d+)\])");
    for (std::sregex_iterator it(replay.out.begin(), replay.out.end(), title), end; it != end; ++it)
      called.push_back(std::stoi((*it)[1]));
    ASSERT_EQ(called.size(), 90u);
    EXPECT_TRUE(std::equal(order.begin(), order.begin() + 30, called.begin()));
  }
  EXPECT_EQ(games(folder, "export last --format csv").out, fileText(folder.file("game.csv")))
      << "standard output without --out";
}

TEST(GamesCommand, BadInputAndUnusableStoresAreOneMessage) {
  TestFolder folder;
  keepGame(*GameRecord::open(folder.file(), GameRecord::Access::caller), {1, 2});
  const struct {
    std::string arguments;
    int exitCode;
    std::string message;
  } cases[] = {
      {"show 7", 2, "vorlix-caller games: there is no game 7 in "},
      {"show first", 2, "a game is named by its number from `vorlix-caller games` or by \"last\""},
      {"export 1 --format xml", 2, "vorlix-caller games: --format: xml not in {csv,json}"},
      {"export 1 --format csv --out /nonexistent/x.csv", 2, "/nonexistent/x.csv cannot be written"},
  };
  for (const auto& bad : cases) {
    SCOPED_TRACE(bad.arguments);
    const auto run = games(folder, bad.arguments);
    EXPECT_EQ(run.exitCode, bad.exitCode);
    EXPECT_NE(run.err.find(bad.message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  std::ofstream(folder.file("notes.txt")) << "not a store";
  const auto foreign = runProgram("games --store " + folder.file("notes.txt").string());
  EXPECT_EQ(foreign.exitCode, 1);
  EXPECT_EQ(foreign.err, "vorlix-caller games: The game record \"" +
                             folder.file("notes.txt").string() +
                             "\" is not a Vorlix game record (not an SQLite file).\n");
  const auto none = runShell("env HOME=" + folder.file("home").string() +
                             " XDG_DATA_HOME= " + VORLIX_CALLER + " games");
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.out, "No games kept yet: there is no game record at " +
                          folder.file("home").string() +
                          "/.local/share/vorlix-caller/Vorlix.sqlite.\n");
}

}  // namespace
