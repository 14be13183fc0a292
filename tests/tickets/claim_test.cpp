// Claims on a known ticket for each prize and each verdict.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/claim_tickets.h"
#include "tickets/claim.h"
#include "tickets/claim_desk.h"

namespace {

using enum tickets::Prize;
using enum tickets::Verdict;

// A line is good only when it was completed by the last ball called; completed earlier it is late.
TEST(Claim, VerdictForEachPrize) {
  const struct {
    tickets::Prize prize;
    std::vector<int> calls;
    tickets::Verdict verdict;
    std::string detail;
  } cases[] = {
      {oneLine, {}, bogey, "one line needs 1 21 41 61 81"},
      {oneLine, {7, 1, 21, 41, 61, 81}, good, "one line, row 1"},
      {oneLine, {3, 23, 33, 53, 83}, good, "one line, row 3"},
      {oneLine, {1, 21, 41, 61, 81, 90}, late, "one line complete at ball 5 (81)"},
      {oneLine, {1, 21, 41, 61, 12, 32}, bogey, "one line needs 81"},
      {twoLines, {1, 21, 41, 61, 81, 12, 32, 52, 72, 82}, good, "two lines, rows 1 2"},
      {twoLines, {1, 21, 41, 61, 12, 32, 52, 72, 82, 81}, good, "two lines, rows 1 2"},
      {twoLines,
       {1, 21, 41, 61, 81, 3, 23, 33, 53, 83, 50, 60},
       late,
       "two lines complete at ball 10 (83)"},
      {twoLines, {1, 21, 41, 61, 81, 3, 23, 33}, bogey, "two lines needs 53 83"},
      {fullHouse,
       {1, 21, 41, 61, 81, 12, 32, 52, 72, 82, 3, 23, 33, 53, 90, 83},
       good,
       "full house, rows 1 2 3"},
      {fullHouse,
       {1, 21, 41, 61, 81, 12, 32, 52, 72, 82, 3, 23, 33, 53, 83, 90},
       late,
       "full house complete at ball 15 (83)"},
      {fullHouse,
       {1, 21, 41, 61, 81, 12, 32, 52, 72, 82, 3, 23},
       bogey,
       "full house needs 33 53 83"},
  };
  for (const auto& c : cases) {
    const auto result = tickets::checkClaim(kTicket, c.calls, c.prize);
    EXPECT_EQ(result.verdict, c.verdict) << c.detail;
    EXPECT_EQ(tickets::verdictDetail(result), c.detail);
  }
  const auto won = tickets::checkClaim(kTicket, std::vector{1, 21, 41, 61, 81}, oneLine);
  EXPECT_EQ(tickets::spokenVerdict(won), "Claim on ticket 1234 is good: one line");
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
