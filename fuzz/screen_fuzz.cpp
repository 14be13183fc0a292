// Feeds arbitrary bytes to the screen as a host's moves and stops at the first thing a move got
// wrong. Each move is one byte, a wait takes a second byte for its length:
//   0..17  tap the control kControlTitles[byte]
//   18, 19 answer "Yes" or "No" on the alert on top
//   20..23 wait (next byte) x 0.01, 0.1, 1 or 10 seconds: from between two items to a whole game
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
    const int code = data[i++] % 24;
    HostMove move{HostMove::Kind::tap, static_cast<std::size_t>(code)};
    if (code >= 18 && code < 20)
      move = {code == 18 ? HostMove::Kind::answerYes : HostMove::Kind::answerNo};
    if (code >= 20)
      move = {HostMove::Kind::wait, 0, (i < size ? data[i++] : 0) * kWaitUnits[code - 20]};
    const auto problems = referee.play(move);
    for (const auto& problem : problems)
      std::fprintf(stderr, "move at byte %zu: %s\n", at, problem.c_str());
    if (!problems.empty()) std::abort();
  }
  return 0;
}
