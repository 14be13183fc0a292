// Feeds arbitrary bytes to the screen as a host's moves and stops at the first thing a move got
// wrong. Each move is one byte, a wait takes a second byte for its length. With C controls in the
// catalogue (18 today):
//   0..C-1     tap the catalogue's control of that place
//   C, C+1     answer "Yes" or "No" on the alert on top
//   C+2..C+5   wait (next byte) x 0.01, 0.1, 1 or 10 seconds: from between two items to a game
// Other values wrap around. The first byte also seeds the draw.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/host_moves.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr double kWaitUnits[] = {0.01, 0.1, 1.0, 10.0};
  if (size == 0 || size > 4096) return -1;  // longer adds little and slows every run: not kept
  ScreenHarness h({.seed = data[0]});
  MoveReferee referee(h);
  for (std::size_t i = 0; i < size;) {
    const std::size_t at = i;
    const std::size_t taps = ui::controls().size();
    const std::size_t code = data[i++] % (taps + 6);
    HostMove move{HostMove::Kind::tap, code};
    if (code == taps || code == taps + 1)
      move = {code == taps ? HostMove::Kind::answerYes : HostMove::Kind::answerNo};
    if (code >= taps + 2)
      move = {HostMove::Kind::wait, 0, (i < size ? data[i++] : 0) * kWaitUnits[code - taps - 2]};
    const auto problems = referee.play(move);
    for (const auto& problem : problems)
      std::fprintf(stderr, "move at byte %zu: %s\n", at, problem.c_str());
    if (!problems.empty()) std::abort();
  }
  return 0;
}
