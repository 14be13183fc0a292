#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/claim_session.h"

namespace terminal {

// The claim the host is working on in the terminal: the serial being typed, or a checked claim.
struct ClaimPanel {
  std::optional<std::string> serialTyped;  // the prompt is open
  std::optional<app::ClaimOnShow> shown;
};

// The lines under the board for a claim: the prompt for the serial, or the ticket with each called
// number in brackets ("[21]"), the number just called between arrows (">81<"), the verdict and the
// keys that act on it. Empty when there is no claim to show.
std::vector<std::string> claimLines(const ClaimPanel& panel);

}  // namespace terminal
