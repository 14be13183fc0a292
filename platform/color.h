#pragma once

namespace platform {

// An RGBA colour with components from 0 to 1. The named colours give exactly the
// components the game's colour choices were made with.
struct Color {
  double red = 0.0;
  double green = 0.0;
  double blue = 0.0;
  double alpha = 0.0;

  static constexpr Color initWithRed(double r, double g, double b, double a) { return {r, g, b, a}; }
  static constexpr Color blackColor() { return {0.0, 0.0, 0.0, 1.0}; }
  static constexpr Color whiteColor() { return {1.0, 1.0, 1.0, 1.0}; }
  static constexpr Color grayColor() { return {0.5, 0.5, 0.5, 1.0}; }
  static constexpr Color orangeColor() { return {1.0, 0.5, 0.0, 1.0}; }
  static constexpr Color clearColor() { return {0.0, 0.0, 0.0, 0.0}; }
  static constexpr Color greenColor() { return {0.0, 1.0, 0.0, 1.0}; }
  static constexpr Color yellowColor() { return {1.0, 1.0, 0.0, 1.0}; }

  constexpr bool operator==(const Color&) const = default;
};

}  // namespace platform
