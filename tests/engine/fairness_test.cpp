#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/random_source.h"
#include "support/screen_harness.h"

namespace {

constexpr int kNumbers = 90;

// Upper quantile of the chi-square distribution with `df` degrees of freedom at significance
// `p`: the standard normal quantile found by bisection on erfc, then Wilson and Hilferty's
// cube-root approximation (within 0.1% of the exact value for the degrees of freedom used here).
double chiSquareQuantile(double df, double p) {
  double low = -10.0, high = 10.0;
  for (int i = 0; i < 200; ++i) {
    const double mid = (low + high) / 2.0;
    (0.5 * std::erfc(mid / std::sqrt(2.0)) > p ? low : high) = mid;
  }
  const double a = 2.0 / (9.0 * df);
  return df * std::pow(1.0 - a + low * std::sqrt(a), 3.0);
}

// Pearson's statistic of observed counts against equal expected counts.
template <class Counts>
double pearson(const Counts& observed, double expected) {
  double sum = 0.0;
  for (const auto count : observed)
    sum += std::pow(static_cast<double>(count) - expected, 2) / expected;
  return sum;
}

}  // namespace

// Each number is equally likely at every place of the draw order. 900 whole games on one screen
// at a fixed seed, restarted after each, fill a 90 x 90 table of (number, position) counts with
// 10 expected in every cell.
// - The whole table: each game adds a permutation matrix, and for random permutation matrices
//   Pearson's statistic X is distributed as 90/89 x chi-square with 89^2 = 7921 degrees of
//   freedom, so X x 89/90 is tested on both tails at 0.001 each (too even is as suspect as too
//   uneven).
// - Each number's row and each position's column on its own (exactly multinomial, 89 degrees of
//   freedom), which finds one favoured number or one skewed place that the whole table dilutes:
//   180 tests sharing a significance of 0.001 (Bonferroni).
// Altogether the test fails by chance with probability at most 0.003 for a fair draw; at its
// fixed seed it either always passes or always fails.
TEST(Fairness, EveryNumberIsEquallyLikelyAtEveryPlace) {
  constexpr int kGames = 900;
  ScreenHarness h({.seed = 20261206});
  h.vc().setDebug(true);
  std::array<std::array<long, kNumbers>, kNumbers> counts{};  // [number - 1][position]
  h.tap("Play");
  for (int game = 0; game < kGames; ++game) {
    ASSERT_TRUE(h.runUntilIdle());
    const auto& drawn = h.vc()._randomNumbers;
    ASSERT_EQ(drawn.size(), 90u);
    for (std::size_t position = 0; position < drawn.size(); ++position)
      ++counts[std::stoul(drawn[position]) - 1][position];
    h.perform("Yes Re-start Yes");  // closes "Success!", then restarts
  }
  const double expected = kGames / static_cast<double>(kNumbers);
  double x = 0.0;
  for (const auto& row : counts) x += pearson(row, expected);
  const double statistic = x * (kNumbers - 1) / kNumbers;
  EXPECT_LT(statistic, chiSquareQuantile((kNumbers - 1) * (kNumbers - 1), 0.001));
  EXPECT_GT(statistic, chiSquareQuantile((kNumbers - 1) * (kNumbers - 1), 0.999));

  const double lineCritical = chiSquareQuantile(kNumbers - 1, 0.001 / 180.0);
  for (std::size_t i = 0; i < kNumbers; ++i) {
    std::array<long, kNumbers> column{};
    for (std::size_t number = 0; number < kNumbers; ++number) column[number] = counts[number][i];
    EXPECT_LT(pearson(counts[i], expected), lineCritical) << "number " << i + 1;
    EXPECT_LT(pearson(column, expected), lineCritical) << "position " << i + 1;
  }
}

// Bounded draws are exactly uniform. With 2 degrees of freedom the chi-square quantile is exact:
// P(X > x) = exp(-x / 2), so the critical value for significance p is -2 ln p.
TEST(Fairness, BoundedDrawsHaveNoModuloBias) {
  constexpr int kSamples = 3000;
  // Values below 3 x 2^30 counted by third of that range make modulo bias loud: 2^32 mod
  // (3 x 2^30) = 2^30, so reducing words without rejecting any would make the lowest third twice
  // as likely as each of the others.
  platform::SeededRandomSource seeded(99);
  std::array<long, 3> thirds{};
  for (int i = 0; i < kSamples; ++i) ++thirds[seeded.uniform(3u << 30) >> 30];
  EXPECT_LT(pearson(thirds, kSamples / 3.0), -2.0 * std::log(0.001));

  // The rejection itself, fed with words drawn evenly from 0 to 3 only: 2^32 mod 3 = 1, so the
  // one surplus word 0 must be thrown away; kept, it would make 0 (from 0 and 3) twice as likely.
  std::mt19937 words(7);
  std::uniform_int_distribution<std::uint32_t> lowestFour(0, 3);
  std::array<long, 3> residues{};
  for (int i = 0; i < kSamples; ++i)
    ++residues[platform::uniformFromWords(3, [&] { return lowestFour(words); })];
  EXPECT_LT(pearson(residues, kSamples / 3.0), -2.0 * std::log(0.001));
}

// The seeded source gives the same draws on every machine and build: a game replayed from its
// seed calls the same numbers in the same order. The first list was worked out independently of
// the standard library, from the 64-bit Mersenne Twister's published definition.
TEST(Fairness, SeededDrawsArePinned) {
  platform::SeededRandomSource source(42);
  std::vector<std::uint32_t> draws;
  for (int i = 0; i < 12; ++i) draws.push_back(source.uniform(91));
  EXPECT_EQ(draws, (std::vector<std::uint32_t>{7, 60, 9, 17, 35, 69, 6, 79, 23, 55, 12, 53}));

  ScreenHarness h;  // seed 1
  h.tap("Play");
  h.runUntilDrawn(12);
  EXPECT_EQ(h.vc()._randomNumbers, (std::vector<std::string>{"22", "27", "56", "74", "59", "31",
                                                             "77", "52", "19", "9", "90", "71"}));
}
