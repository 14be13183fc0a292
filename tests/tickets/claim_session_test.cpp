// The claims of a game as a host makes them: tickets from a book and from the game record, the
// verdict spoken, good claims at one ball sharing the prize, a new game opening one line. (The
// claims program's test keeps them in the game record.)
#include <gtest/gtest.h>

#include <map>

#include "app/claim_session.h"
#include "tests/support/claim_tickets.h"

namespace {

using tickets::Prize;
using tickets::Verdict;

class Session {
 public:
  Session()
      : session_(index(), lookup(), [this](const std::string& line) { said.push_back(line); }) {}
  app::ClaimSession& operator*() { return session_; }
  app::ClaimSession* operator->() { return &session_; }
  std::vector<std::string> said;
  std::vector<std::uint32_t> lookedUp;

 private:
  static tickets::TicketIndex index() {
    tickets::TicketIndex books;
    books.add(tickets::Book{{kTicket}});
    return books;
  }
  app::ClaimSession::TicketLookup lookup() {
    return [this](std::uint32_t serial) -> std::optional<tickets::Ticket> {
      lookedUp.push_back(serial);
      if (serial == kTwin.serial) return kTwin;
      return std::nullopt;
    };
  }
  app::ClaimSession session_;
};

const std::vector<int> kFirstLine = {7, 1, 21, 41, 61, 81};

TEST(ClaimSession, ShowsTheTicketMarkedAndSpeaksTheVerdict) {
  Session session;
  const auto& shown = session->claim(1234, std::vector<int>{7, 1, 21, 12, 41});
  EXPECT_EQ(shown.verdictText(), "bogey one line needs 61 81");
  EXPECT_EQ(shown.ticket, kTicket);
  EXPECT_EQ(shown.numberJustCalled, 41);
  const std::array<std::array<bool, 9>, 3> marked = {
      {{1, 0, 1, 0, 1, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0}}};
  EXPECT_EQ(shown.marked, marked);
  session->speakVerdict();
  EXPECT_FALSE(session->confirm(std::vector<int>{7, 1, 21, 12, 41}).awarded)
      << "a bogey wins nothing";

  const auto& unknown = session->claim(999, std::vector<int>{7, 1, 21, 12, 41});
  EXPECT_EQ(unknown.verdictText(), "unknown no such ticket");
  EXPECT_FALSE(unknown.ticket);
  session->speakVerdict();
  EXPECT_EQ(session.said, (std::vector<std::string>{"Claim on ticket 1234 is a bogey",
                                                    "Ticket 999 is not in any book"}));
  EXPECT_EQ(session.lookedUp, (std::vector<std::uint32_t>{999})) << "the book holds 1234";
  EXPECT_EQ(app::roomClaimOf(session->onShow())->verdict, "Ticket 999: unknown no such ticket");
  session->claim(1234, std::vector<int>{7, 1});
  EXPECT_EQ(app::roomClaimOf(session->onShow())->ticket, kTicket.grid);
  session->dismiss();
  EXPECT_FALSE(app::roomClaimOf(session->onShow()));
  EXPECT_EQ(session->openPrize(), Prize::oneLine);
}

TEST(ClaimSession, GoodClaimsAtOneBallShareThePrizeAndTheGameMovesOn) {
  Session session;
  EXPECT_EQ(session->claim(1234, kFirstLine).verdictText(), "good one line, row 1");
  EXPECT_EQ(session->claim(77, kFirstLine).verdictText(), "good one line, row 1")
      << "found in the game record by its serial";
  const auto confirmed = session->confirm(kFirstLine);
  EXPECT_TRUE(confirmed.awarded);
  EXPECT_EQ(confirmed.next, Prize::twoLines);
  EXPECT_TRUE(session->onShow()->confirmed);
  // A third look at the same ball is still checked against the prize just shared.
  EXPECT_EQ(session->claim(77, kFirstLine).verdictText(), "good one line, row 1");
  EXPECT_FALSE(session->confirm(kFirstLine).awarded) << "77 has it already";

  // The next call puts the claim away; one line is now late, two lines is played for.
  auto calls = kFirstLine;
  calls.push_back(90);
  session->observe(calls);
  EXPECT_FALSE(session->onShow());
  EXPECT_EQ(session->claim(1234, calls).verdictText(), "bogey two lines needs 12 32 52 72 82");

  for (const int number : {12, 32, 52, 72, 82, 3, 23, 33, 53, 83}) calls.push_back(number);
  calls.pop_back();
  EXPECT_EQ(session->claim(1234, std::vector<int>(calls.begin(), calls.end() - 4)).verdictText(),
            "good two lines, rows 1 2");
  EXPECT_EQ(session->confirm(std::vector<int>(calls.begin(), calls.end() - 4)).next,
            Prize::fullHouse);
  calls.push_back(83);
  EXPECT_EQ(session->claim(1234, calls).verdictText(), "good full house, rows 1 2 3");
  EXPECT_EQ(session->confirm(calls).next, Prize::none);
  calls.push_back(4);
  EXPECT_EQ(session->claim(1234, calls).verdictText(), "closed no prize open");
  session->speakVerdict();
  EXPECT_EQ(session.said.back(), "There is no prize to claim");
}

TEST(ClaimSession, ANewGameOpensOneLineAgain) {
  Session session;
  session->claim(1234, kFirstLine);
  session->confirm(kFirstLine);
  ASSERT_EQ(session->openPrize(), Prize::twoLines);
  session->observe(std::vector<int>{});  // Re-start
  EXPECT_EQ(session->openPrize(), Prize::oneLine);
  EXPECT_FALSE(session->onShow());
  EXPECT_EQ(session->claim(1234, std::vector<int>{1, 21, 41, 61, 81}).verdictText(),
            "good one line, row 1");
  // A new game whose numbers do not carry on from the last is a new game too.
  session->confirm(std::vector<int>{1, 21, 41, 61, 81});
  EXPECT_EQ(session->claim(1234, std::vector<int>{1, 21, 41, 61, 81, 2}).verdictText(),
            "bogey two lines needs 12 32 52 72 82");
  EXPECT_EQ(session->claim(1234, std::vector<int>{81, 61, 41, 21, 1}).verdictText(),
            "good one line, row 1");
  // A good claim not confirmed before the next call is void.
  EXPECT_FALSE(session->confirm(std::vector<int>{81, 61, 41, 21, 1, 2}).awarded);
  EXPECT_EQ(session->openPrize(), Prize::oneLine);
}

TEST(ClaimSession, OnlyAnnouncedNumbersAreBallsToClaimOn) {
  const std::vector<int> drawn = {7, 45, 3};
  EXPECT_EQ(app::callsAnnounced(drawn, ""), std::vector<int>{});
  EXPECT_EQ(app::callsAnnounced(drawn, "45"), (std::vector<int>{7, 45}))
      << "3 is drawn, its call not yet made";
  EXPECT_EQ(app::callsAnnounced(drawn, "3"), drawn);
  EXPECT_EQ(app::callsAnnounced(drawn, "x"), std::vector<int>{});
}

}  // namespace
