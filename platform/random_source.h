#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace platform {

// Bounded random integers: `uniform(u)` gives each integer from 0 to u - 1 with exactly equal
// probability (0 when u is 0).
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual std::uint32_t uniform(std::uint32_t upperBound) = 0;
};

// The operating system's cryptographically secure generator.
class SecureRandomSource : public RandomSource {
 public:
  std::uint32_t uniform(std::uint32_t upperBound) override;
};

// A deterministic source: the same seed gives the same draws on every machine and build.
class SeededRandomSource : public RandomSource {
 public:
  explicit SeededRandomSource(std::uint64_t seed) : engine_(seed) {}
  std::uint32_t uniform(std::uint32_t upperBound) override;

 private:
  std::mt19937_64 engine_;  // its output sequence is fixed by the C++ standard
};

// Exactly uniform bounded draw from a source of 32 random bits, by rejection (no modulo bias).
template <class NextWord>
std::uint32_t uniformFromWords(std::uint32_t upperBound, NextWord&& nextWord) {
  if (upperBound < 2) return 0;
  // Reject the lowest (2^32 mod u) words so that what is left is a whole number of
  // copies of 0 .. u-1.
  const std::uint32_t threshold = static_cast<std::uint32_t>(-upperBound) % upperBound;
  for (;;) {
    const std::uint32_t word = nextWord();
    if (word >= threshold) return word % upperBound;
  }
}

}  // namespace platform

namespace platform {

// Gives a fixed series of values first, each when it fits under the bound asked for, then draws
// from another source: a game can be replayed from its call log.
class PresetRandomSource : public RandomSource {
 public:
  PresetRandomSource(std::vector<std::uint32_t> presets, RandomSource& after)
      : presets_(std::move(presets)), after_(after) {}
  std::uint32_t uniform(std::uint32_t upperBound) override;

 private:
  std::vector<std::uint32_t> presets_;
  std::size_t next_ = 0;
  RandomSource& after_;
};

}  // namespace platform
