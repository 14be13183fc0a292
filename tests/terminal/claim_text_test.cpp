// The claim under the terminal's board: the serial being typed, then the ticket marked as called.
#include <gtest/gtest.h>

#include "hosts/terminal/claim_text.h"
#include "tests/support/claim_tickets.h"

namespace {

TEST(ClaimText, ThePromptThenTheTicketMarkedWithItsVerdict) {
  terminal::ClaimPanel panel;
  EXPECT_TRUE(terminal::claimLines(panel).empty());
  panel.serialTyped = "12";
  EXPECT_EQ(terminal::claimLines(panel).front(), "Claim: the ticket's serial? 12_");

  tickets::TicketIndex books;
  books.add(tickets::Book{{kTicket}});
  app::ClaimSession session(std::move(books), {}, {});
  panel.serialTyped.reset();
  panel.shown = session.claim(1234, std::vector<int>{1, 21, 41, 61, 81});
  EXPECT_EQ(terminal::claimLines(panel), (std::vector<std::string>{
                                             "Claim on ticket 1234: good one line, row 1",
                                             " [ 1]      [21]      [41]      [61]      >81< ",
                                             "       12        32        52        72   82  ",
                                             "   3        23   33        53             83  ",
                                             "Y: confirm, the prize is won   C or Esc: close",
                                         }));
  panel.shown = session.claim(5, std::vector<int>{1, 21, 41, 61, 81});
  EXPECT_EQ(
      terminal::claimLines(panel),
      (std::vector<std::string>{"Claim on ticket 5: unknown no such ticket", "C or Esc: close"}));
}

}  // namespace
