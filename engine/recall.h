#pragma once

// What a recall reads out again: the last few numbers called (in call order), every number called
// (in ascending order), or the numbers not yet called. A recall stops the calling of new numbers.
struct Recall {
  enum class Kind { lastNumbers, allCalled, remaining };
  Kind kind = Kind::lastNumbers;
  int count = 0;  // for lastNumbers

  static constexpr Recall last(int count) { return {Kind::lastNumbers, count}; }
  static constexpr Recall allCalled() { return {Kind::allCalled, 0}; }
  static constexpr Recall remaining() { return {Kind::remaining, 0}; }
  constexpr bool operator==(const Recall&) const = default;
};
