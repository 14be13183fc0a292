#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tickets/ticket.h"

namespace tickets {

// The prizes in the order they are played for; `none` once the full house has been won.
enum class Prize { oneLine, twoLines, fullHouse, none };

enum class Verdict {
  good,     // the ticket completes the prize with the number just called
  late,     // the prize was already complete on the ticket at an earlier ball
  bogey,    // the prize is not complete on the ticket
  unknown,  // the serial is in no book
  closed,   // no prize is open: the full house has been won
};

struct ClaimResult {
  std::uint32_t serial = 0;
  Prize prize = Prize::oneLine;
  Verdict verdict = Verdict::bogey;
  std::size_t atBall = 0;           // how many numbers had been called when the claim was made
  std::vector<int> completeRows;    // good: the rows (1-3) complete at the ball
  std::size_t completedAtBall = 0;  // late: the ball (1 = first called) that completed the prize
  int completedByNumber = 0;        // late: the number called at that ball
  std::vector<int> missing;         // bogey: numbers still needed, from the rows nearest completion
};

// The verdict on a claim for `prize` by `ticket`, `calls` being the numbers called so far in
// call order (the last one is the ball the claim is made at).
ClaimResult checkClaim(const Ticket& ticket, std::span<const int> calls, Prize prize);

// "one line", "two lines", "full house", "none".
std::string prizeName(Prize prize);
// "good", "late", "bogey", "unknown", "closed".
std::string verdictName(Verdict verdict);
// What a host reads after the verdict: "one line, row 2", "two lines complete at ball 34 (17)",
// "one line needs 5 12", "no such ticket", "no prize open".
std::string verdictDetail(const ClaimResult& result);
// The spoken line: "Claim on ticket 1234 is good: one line".
std::string spokenVerdict(const ClaimResult& result);

}  // namespace tickets
