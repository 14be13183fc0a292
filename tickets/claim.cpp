#include "tickets/claim.h"

#include <algorithm>
#include <array>

namespace tickets {

namespace {

int rowsNeeded(Prize prize) {
  switch (prize) {
    case Prize::oneLine:
      return 1;
    case Prize::twoLines:
      return 2;
    case Prize::fullHouse:
      return kRows;
    case Prize::none:
      break;
  }
  return kRows + 1;
}

// For each number 1-90, the ball (1-based) it was called at, or 0 when not yet called.
std::array<std::size_t, kHighestNumber + 1> ballOfEachNumber(std::span<const int> calls) {
  std::array<std::size_t, kHighestNumber + 1> ball{};
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i] >= 1 && calls[i] <= kHighestNumber && ball[calls[i]] == 0) ball[calls[i]] = i + 1;
  }
  return ball;
}

// The ball at which each row was completed, or 0 for a row still open.
std::array<std::size_t, kRows> rowCompletions(
    const Grid& grid, const std::array<std::size_t, kHighestNumber + 1>& ball) {
  std::array<std::size_t, kRows> completed{};
  for (int row = 0; row < kRows; ++row) {
    std::size_t last = 0;
    for (const int number : rowNumbers(grid, row)) {
      if (ball[number] == 0) {
        last = 0;
        break;
      }
      last = std::max(last, ball[number]);
    }
    completed[row] = last;
  }
  return completed;
}

std::vector<int> missingNumbers(const Grid& grid,
                                const std::array<std::size_t, kHighestNumber + 1>& ball,
                                int rowsWanted) {
  std::array<std::vector<int>, kRows> missingByRow;
  for (int row = 0; row < kRows; ++row) {
    for (const int number : rowNumbers(grid, row)) {
      if (ball[number] == 0) missingByRow[row].push_back(number);
    }
  }
  std::array<int, kRows> order{0, 1, 2};
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return missingByRow[a].size() < missingByRow[b].size(); });
  std::vector<int> missing;
  for (int i = 0; i < rowsWanted; ++i) {
    const auto& row = missingByRow[order[i]];
    missing.insert(missing.end(), row.begin(), row.end());
  }
  std::sort(missing.begin(), missing.end());
  return missing;
}

}  // namespace

ClaimResult checkClaim(const Ticket& ticket, std::span<const int> calls, Prize prize) {
  ClaimResult result;
  result.serial = ticket.serial;
  result.prize = prize;
  result.atBall = calls.size();
  if (prize == Prize::none) {
    result.verdict = Verdict::closed;
    return result;
  }
  const int needed = rowsNeeded(prize);
  const auto ball = ballOfEachNumber(calls);
  auto completions = rowCompletions(ticket.grid, ball);
  std::array<std::size_t, kRows> sorted = completions;
  std::sort(sorted.begin(), sorted.end(), [](std::size_t a, std::size_t b) {
    // Open rows (0) last, then in the order they were completed.
    return a != 0 && (b == 0 || a < b);
  });
  const std::size_t prizeBall = sorted[needed - 1];
  if (prizeBall == 0) {
    result.verdict = Verdict::bogey;
    result.missing = missingNumbers(ticket.grid, ball, needed);
  } else if (prizeBall < calls.size()) {
    result.verdict = Verdict::late;
    result.completedAtBall = prizeBall;
    result.completedByNumber = calls[prizeBall - 1];
  } else {
    result.verdict = Verdict::good;
    for (int row = 0; row < kRows; ++row) {
      if (completions[row] != 0) result.completeRows.push_back(row + 1);
    }
  }
  return result;
}

std::string prizeName(Prize prize) {
  switch (prize) {
    case Prize::oneLine:
      return "one line";
    case Prize::twoLines:
      return "two lines";
    case Prize::fullHouse:
      return "full house";
    case Prize::none:
      break;
  }
  return "none";
}

std::string verdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::good:
      return "good";
    case Verdict::late:
      return "late";
    case Verdict::bogey:
      return "bogey";
    case Verdict::unknown:
      return "unknown";
    case Verdict::closed:
      break;
  }
  return "closed";
}

namespace {

std::string joined(const std::vector<int>& numbers) {
  std::string text;
  for (const int number : numbers) text += (text.empty() ? "" : " ") + std::to_string(number);
  return text;
}

}  // namespace

std::string verdictDetail(const ClaimResult& result) {
  const std::string prize = prizeName(result.prize);
  switch (result.verdict) {
    case Verdict::good:
      return prize + ", row" + (result.completeRows.size() > 1 ? "s " : " ") +
             joined(result.completeRows);
    case Verdict::late:
      return prize + " complete at ball " + std::to_string(result.completedAtBall) + " (" +
             std::to_string(result.completedByNumber) + ")";
    case Verdict::bogey:
      return prize + " needs " + joined(result.missing);
    case Verdict::unknown:
      return "no such ticket";
    case Verdict::closed:
      break;
  }
  return "no prize open";
}

std::string spokenVerdict(const ClaimResult& result) {
  const std::string opening = "Claim on ticket " + std::to_string(result.serial) + " is ";
  switch (result.verdict) {
    case Verdict::good:
      return opening + "good: " + prizeName(result.prize);
    case Verdict::late:
      return opening + "late";
    case Verdict::bogey:
      return opening + "a bogey";
    case Verdict::unknown:
      return "Ticket " + std::to_string(result.serial) + " is not in any book";
    case Verdict::closed:
      break;
  }
  return "There is no prize to claim";
}

}  // namespace tickets
