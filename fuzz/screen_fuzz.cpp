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

namespace {

constexpr std::size_t kLongestInput = 4096;  // enough for many games; keeps each run short
constexpr double kWaitUnits[] = {0.01, 0.1, 1.0, 10.0};

class MoveReader {
 public:
  MoveReader(const std::uint8_t* data, std::size_t size) : next_(data), end_(data + size) {}

  bool done() const { return next_ == end_; }

  HostMove read() {
    const int code = *next_++ % 24;
    if (code < 18) return {HostMove::Kind::tap, static_cast<std::size_t>(code)};
    if (code == 18) return {HostMove::Kind::answerYes};
    if (code == 19) return {HostMove::Kind::answerNo};
    const int amount = done() ? 0 : *next_++;
    return {HostMove::Kind::wait, 0, amount * kWaitUnits[code - 20]};
  }

 private:
  const std::uint8_t* next_;
  const std::uint8_t* end_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > kLongestInput) return -1;  // not worth keeping
  ScreenHarness::Options options;
  options.seed = data[0];
  ScreenHarness h(options);
  MoveReferee referee(h);
  MoveReader moves(data, size);
  for (std::size_t i = 0; !moves.done(); ++i) {
    const auto problems = referee.play(moves.read());
    if (problems.empty()) continue;
    for (const auto& problem : problems) std::fprintf(stderr, "move %zu: %s\n", i, problem.c_str());
    std::abort();
  }
  return 0;
}
