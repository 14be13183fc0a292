#include "hosts/terminal/claim_text.h"

namespace terminal {
namespace {

std::string square(const app::ClaimOnShow& shown, int row, int column) {
  const int number = shown.ticket->grid[row][column];
  if (number == 0) return "    ";
  std::string digits = (number < 10 ? " " : "") + std::to_string(number);
  if (number == shown.numberJustCalled && shown.marked[row][column]) return ">" + digits + "<";
  if (shown.marked[row][column]) return "[" + digits + "]";
  return " " + digits + " ";
}

}  // namespace

std::vector<std::string> claimLines(const ClaimPanel& panel) {
  if (panel.serialTyped)
    return {"Claim: the ticket's serial? " + *panel.serialTyped + "_",
            "Enter: check it   Esc: cancel"};
  if (!panel.shown) return {};
  const auto& shown = *panel.shown;
  std::vector<std::string> lines{"Claim on ticket " + std::to_string(shown.result.serial) + ": " +
                                 shown.verdictText()};
  if (shown.ticket) {
    for (int row = 0; row < tickets::kRows; ++row) {
      std::string line = " ";
      for (int column = 0; column < tickets::kColumns; ++column)
        line += square(shown, row, column) + " ";
      lines.push_back(line);
    }
  }
  const bool confirmable = shown.result.verdict == tickets::Verdict::good && !shown.confirmed;
  lines.push_back(confirmable
                      ? "Y: confirm, the prize is won   C or Esc: close"
                      : (shown.confirmed ? "Confirmed.   C or Esc: close" : "C or Esc: close"));
  return lines;
}

}  // namespace terminal
