// Claims in scripted runs of the real program: every verdict for every prize, two tickets sharing
// a prize, a claim after Re-start, and bad claims that leave the game going on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "app/game_record.h"
#include "terminal/program_run.h"

namespace {

namespace fs = std::filesystem;

// 1234: rows 1 21 41 61 81 / 12 32 52 72 82 / 3 23 33 53 83. 77: the same first row.
constexpr const char* kBook =
    R"({"tickets": [
{"serial": 1234, "grid": [[1,0,21,0,41,0,61,0,81],[0,12,0,32,0,52,0,72,82],[3,0,23,33,0,53,0,0,83]]},
{"serial": 77, "grid": [[1,0,21,0,41,0,61,0,81],[0,13,0,34,0,54,0,74,84],[5,0,25,35,0,55,0,0,85]]}
]})";
// The rows of 1234 in order: ball 5 is 81 (shown at 29 s), ball 10 is 82, ball 15 is 83.
constexpr const char* kOrder = "--draw-order 1,21,41,61,81,12,32,52,72,82,3,23,33,53,83";

class ClaimsProgram : public testing::Test {
 protected:
  ClaimsProgram() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    book_ = fs::path(testing::TempDir()) /
            ("vorlix-claims-" + std::to_string(::getpid()) + "-" + test->name() + ".json");
    std::ofstream(book_) << kBook;
  }
  ~ClaimsProgram() override { fs::remove(book_); }

  ProgramRun play(const std::string& script, const std::string& more = "") const {
    return runProgram("--script - --silent --book " + book_.string() + " " + kOrder + " " + more,
                      script);
  }

  fs::path book_;
};

// The claim and prize lines of a transcript, and how many numbers were shown after the last.
std::string claimLines(const std::string& transcript) {
  std::istringstream lines(transcript);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    const auto kind = line.substr(line.find(' ') + 1);
    if (kind.starts_with("claim ") || kind.starts_with("prize ")) kept += line + "\n";
  }
  return kept;
}

int titlesAfterLastClaim(const std::string& transcript) {
  const auto last = transcript.rfind(" claim ");
  int titles = 0;
  for (auto at = transcript.find(" title ", last); at != std::string::npos;
       at = transcript.find(" title ", at + 1))
    ++titles;
  return titles;
}

TEST_F(ClaimsProgram, OneLineSharedThenTwoLinesGoodThenLate) {
  const auto run = play(
      "tap Play\nwait 30\n"
      "claim 5\nclaim 1234\nclaim 77\nconfirm\nclaim 1234\n"  // ball 5
      "tap Play\nwait 33\nclaim 77\nclaim 1234\n"             // ball 10, not confirmed
      "tap Play\nwait 6\nclaim 1234\n"                        // ball 11
      "tap Play\nwait 20\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(claimLines(run.out),
            "30.000 claim 5 unknown no such ticket\n"
            "30.000 claim 1234 good one line, row 1\n"
            "30.000 claim 77 good one line, row 1\n"
            "30.000 prize two lines\n"
            "30.000 claim 1234 good one line, row 1\n"
            "63.000 claim 77 bogey two lines needs 13 34 54 74 84\n"
            "63.000 claim 1234 good two lines, rows 1 2\n"
            "69.000 claim 1234 late two lines complete at ball 10 (82)\n");
  EXPECT_GE(titlesAfterLastClaim(run.out), 2) << "the game goes on after a late claim";
}

TEST_F(ClaimsProgram, FullHouseEndsThePrizes) {
  const auto run = play(
      "tap Play\nwait 30\nclaim 1234\nconfirm\n"
      "tap Play\nwait 33\nclaim 1234\nconfirm\n"
      "tap Play\nwait 32\nclaim 77\nclaim 1234\nconfirm\nclaim 77\n"
      "tap Play\nwait 6\nclaim 77\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(claimLines(run.out),
            "30.000 claim 1234 good one line, row 1\n"
            "30.000 prize two lines\n"
            "63.000 claim 1234 good two lines, rows 1 2\n"
            "63.000 prize full house\n"
            "95.000 claim 77 bogey full house needs 5 13 25 34 35 54 55 74 84 85\n"
            "95.000 claim 1234 good full house, rows 1 2 3\n"
            "95.000 prize none\n"
            // At the same ball a claim is checked against the prize just won, to share it.
            "95.000 claim 77 bogey full house needs 5 13 25 34 35 54 55 74 84 85\n"
            "101.000 claim 77 closed no prize open\n");
}

TEST_F(ClaimsProgram, ReStartOpensOneLineAgainAndTheClaimIsSpokenAndKept) {
  const fs::path store = book_.string() + ".sqlite";
  const auto run = runProgram(
      "--script - --store " + store.string() + " --book " + book_.string() + " " + kOrder,
      "tap Play\nwait 30\nclaim 1234\nconfirm\n"
      "tap Re-start\nanswer Yes\nclaim 77\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  {
    const auto record = app::GameRecord::open(store, app::GameRecord::Access::reader);
    std::vector<std::string> kept;  // each game's claims, in the order the games were played
    for (const auto& game : record->games())
      for (const auto& claim : record->claims(game.id))
        kept.push_back(std::to_string(game.ballsCalled) + " balls: " + std::to_string(claim.ball) +
                       " " + std::to_string(claim.serial) + " " + claim.prize + " " +
                       claim.verdict + (claim.confirmed ? " confirmed" : ""));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<std::string>{"1 balls: 0 77 one line bogey",
                                              "5 balls: 5 1234 one line good confirmed"}));
  }
  const auto shown = runProgram("games --store " + store.string() + " show 1", "");
  EXPECT_NE(shown.out.find("     5       1234  "), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("one line    good, confirmed\n"), std::string::npos) << shown.out;
  fs::remove(store);
  EXPECT_EQ(claimLines(run.out),
            "30.000 claim 1234 good one line, row 1\n"
            "30.000 prize two lines\n"
            "30.000 claim 77 bogey one line needs 1 21 41 61 81\n");
  EXPECT_NE(run.out.find("30.000 claim 1234 good one line, row 1\n"
                         "30.000 say Claim on ticket 1234 is good: one line\n"),
            std::string::npos)
      << run.out;
}

TEST_F(ClaimsProgram, BadClaimsAreRefusedPlainly) {
  // Lines the program does not understand stop the run before the first tap.
  const std::string serialNeeded =
      "claim needs a ticket's serial, a whole number from 1 to 999999999, not ";
  for (const auto& [line, message] : std::vector<std::pair<std::string, std::string>>{
           {"claim", serialNeeded + "\"\""},
           {"claim 0", serialNeeded + "\"0\""},
           {"claim 1000000000", serialNeeded + "\"1000000000\""},
           {"claim twelve", serialNeeded + "\"twelve\""},
           {"confirm 1234", "confirm takes nothing after it, found \"1234\""},
       }) {
    const auto run = play("tap Play\n" + line + "\n");
    EXPECT_EQ(run.exitCode, 2) << line;
    EXPECT_EQ(run.out, "") << line;
    EXPECT_EQ(run.err, "vorlix-caller: script line 2: " + message + "\n") << line;
  }
  // A confirm with no good claim to confirm stops the run there; a serial in no book (here no
  // book at all) is a verdict, and the game goes on.
  const auto noBook = runProgram("--script - --silent " + std::string(kOrder),
                                 "tap Play\nwait 30\nclaim 1234\ntap Play\nwait 20\nconfirm\n");
  EXPECT_EQ(noBook.exitCode, 2);
  EXPECT_EQ(claimLines(noBook.out), "30.000 claim 1234 unknown no such ticket\n");
  EXPECT_GE(titlesAfterLastClaim(noBook.out), 2);
  EXPECT_EQ(noBook.err,
            "vorlix-caller: script line 6: confirm, but no good claim has been made since the "
            "last number was called\n");
}

}  // namespace
