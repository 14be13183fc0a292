// Claims on a known ticket for each prize and each verdict, and the prizes of a game moving on as
// good claims are confirmed.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/claim_tickets.h"
#include "tickets/claim.h"
#include "tickets/claim_desk.h"

namespace {

using tickets::Prize;
using tickets::Verdict;

struct ClaimCase {
  const char* what;
  Prize prize;
  std::vector<int> calls;
  Verdict verdict;
  std::string detail;
};

TEST(Claim, VerdictForEachPrize) {
  const std::vector<ClaimCase> cases = {
      {"no numbers yet", Prize::oneLine, {}, Verdict::bogey, "one line needs 1 21 41 61 81"},
      {"row 1 at the ball",
       Prize::oneLine,
       {7, 1, 21, 41, 61, 81},
       Verdict::good,
       "one line, row 1"},
      {"row 3 at the ball", Prize::oneLine, {3, 23, 33, 53, 83}, Verdict::good, "one line, row 3"},
      {"one ball late",
       Prize::oneLine,
       {1, 21, 41, 61, 81, 90},
       Verdict::late,
       "one line complete at ball 5 (81)"},
      {"one number short",
       Prize::oneLine,
       {1, 21, 41, 61, 12, 32},
       Verdict::bogey,
       "one line needs 81"},
      {"two rows at the ball",
       Prize::twoLines,
       {1, 21, 41, 61, 81, 12, 32, 52, 72, 82},
       Verdict::good,
       "two lines, rows 1 2"},
      {"two lines by one ball",
       Prize::twoLines,
       {1, 21, 41, 61, 12, 32, 52, 72, 82, 81},
       Verdict::good,
       "two lines, rows 1 2"},
      {"two lines late",
       Prize::twoLines,
       {1, 21, 41, 61, 81, 3, 23, 33, 53, 83, 50, 60},
       Verdict::late,
       "two lines complete at ball 10 (83)"},
      {"one line is not two",
       Prize::twoLines,
       {1, 21, 41, 61, 81, 3, 23, 33},
       Verdict::bogey,
       "two lines needs 53 83"},
      {"full house at the ball",
       Prize::fullHouse,
       {1, 21, 41, 61, 81, 12, 32, 52, 72, 82, 3, 23, 33, 53, 90, 83},
       Verdict::good,
       "full house, rows 1 2 3"},
      {"full house late",
       Prize::fullHouse,
       {1, 21, 41, 61, 81, 12, 32, 52, 72, 82, 3, 23, 33, 53, 83, 90},
       Verdict::late,
       "full house complete at ball 15 (83)"},
      {"full house short",
       Prize::fullHouse,
       {1, 21, 41, 61, 81, 12, 32, 52, 72, 82, 3, 23},
       Verdict::bogey,
       "full house needs 33 53 83"},
  };
  for (const auto& c : cases) {
    const auto result = tickets::checkClaim(kTicket, c.calls, c.prize);
    EXPECT_EQ(result.verdict, c.verdict) << c.what;
    EXPECT_EQ(tickets::verdictDetail(result), c.detail) << c.what;
  }
  const auto good = tickets::checkClaim(kTicket, std::vector{1, 21, 41, 61, 81}, Prize::oneLine);
  EXPECT_EQ(tickets::spokenVerdict(good), "Claim on ticket 1234 is good: one line");
}

class ClaimDeskTest : public testing::Test {
 protected:
  ClaimDeskTest() { index_.add(tickets::Book{{kTicket, kTwin}}); }
  tickets::TicketIndex index_;
  tickets::ClaimDesk desk_{index_};
};

TEST_F(ClaimDeskTest, AnUnknownSerialIsSaidSo) {
  const auto result = desk_.claim(999, std::vector{1, 2, 3});
  EXPECT_EQ(result.verdict, Verdict::unknown);
  EXPECT_EQ(tickets::verdictDetail(result), "no such ticket");
  EXPECT_FALSE(desk_.confirm(result));
  EXPECT_EQ(desk_.openPrize(), Prize::oneLine);
}

TEST_F(ClaimDeskTest, TicketsGoodAtTheSameBallShareThePrize) {
  std::vector<int> calls = {1, 21, 41, 61, 81};
  const auto first = desk_.claim(1234, calls);
  ASSERT_EQ(first.verdict, Verdict::good);
  EXPECT_EQ(desk_.confirm(first), Prize::twoLines);
  // The twin is good for one line at the same ball: it shares the prize, which stays moved on once.
  const auto second = desk_.claim(77, calls);
  ASSERT_EQ(second.verdict, Verdict::good);
  EXPECT_EQ(second.prize, Prize::oneLine);
  EXPECT_FALSE(desk_.confirm(second));
  EXPECT_FALSE(desk_.confirm(second));  // confirming twice awards nothing more
  EXPECT_EQ(desk_.winners(Prize::oneLine), (std::vector<std::uint32_t>{1234, 77}));
  EXPECT_EQ(desk_.openPrize(), Prize::twoLines);
  // At the next ball the claims are for two lines: a bogey changes nothing.
  calls.push_back(12);
  const auto bogey = desk_.claim(1234, calls);
  EXPECT_EQ(bogey.verdict, Verdict::bogey);
  EXPECT_EQ(tickets::verdictDetail(bogey), "two lines needs 32 52 72 82");
  EXPECT_FALSE(desk_.confirm(bogey));
  for (const int number : {32, 52, 72, 82}) calls.push_back(number);
  EXPECT_EQ(desk_.confirm(desk_.claim(1234, calls)), Prize::fullHouse);
  for (const int number : {3, 23, 33, 53, 83}) calls.push_back(number);
  EXPECT_EQ(desk_.confirm(desk_.claim(1234, calls)), Prize::none);
  calls.push_back(90);
  EXPECT_EQ(desk_.claim(77, calls).verdict, Verdict::closed);
}

TEST_F(ClaimDeskTest, ReStartOpensOneLineAgain) {
  const std::vector<int> firstGame = {1, 21, 41, 61, 81};
  ASSERT_TRUE(desk_.confirm(desk_.claim(1234, firstGame)));
  desk_.restart();
  EXPECT_EQ(desk_.openPrize(), Prize::oneLine);
  EXPECT_TRUE(desk_.winners(Prize::oneLine).empty());
  // The new game's calls alone count: the same row is good again at its own ball, and a claim at
  // the new game's first ball is no longer sharing the old prize.
  const std::vector<int> secondGame = {3, 23, 33, 53, 83};
  const auto result = desk_.claim(1234, secondGame);
  EXPECT_EQ(result.verdict, Verdict::good);
  EXPECT_EQ(tickets::verdictDetail(result), "one line, row 3");
  EXPECT_EQ(desk_.claim(77, secondGame).verdict, Verdict::bogey);
}

TEST(TicketIndex, ASerialTakenByAnotherTicketIsRefused) {
  tickets::TicketIndex index;
  index.add(tickets::Book{{kTicket}});
  index.add(tickets::Book{{kTicket}});  // the same book again is harmless
  tickets::Ticket clash = kTwin;
  clash.serial = kTicket.serial;
  EXPECT_THROW(index.add(tickets::Book{{clash}}), std::invalid_argument);
}

}  // namespace
