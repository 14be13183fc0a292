// Claims in scripted runs of the real program (the claim session's tests hold every verdict and
// prize): a claim after Re-start, spoken and shown, and bad claims that leave the game going on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "app/game_record.h"
#include "support/program_run.h"

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
  ClaimsProgram() { std::ofstream(book_) << kBook; }

  ProgramRun play(const std::string& script) const {
    return runProgram("--script - --silent --book " + book_.string() + " " + kOrder, script);
  }

  TestFolder folder_;
  fs::path book_ = folder_.file("book.json");
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

TEST_F(ClaimsProgram, ReStartOpensOneLineAgainAndTheClaimIsSpokenAndKept) {
  const fs::path store = folder_.file();
  const auto run = runProgram(
      "--script - --store " + store.string() + " --book " + book_.string() + " " + kOrder,
      "claim 1234\ntap Play\nwait 30\nclaim 1234\nconfirm\n"  // the first before any call
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
  EXPECT_EQ(claimLines(run.out),
            "0.000 claim 1234 bogey one line needs 1 21 41 61 81\n"
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
