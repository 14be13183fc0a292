#pragma once

namespace platform {

struct Font {
  double pointSize = 17.0;
  bool bold = false;

  static constexpr Font systemFontOfSize(double size) { return {size, false}; }
  static constexpr Font boldSystemFontOfSize(double size) { return {size, true}; }
  constexpr bool operator==(const Font&) const = default;
};

// The kind of device the screen is laid out for; the ordinal is the toolkit's idiom value.
enum class UserInterfaceIdiom { phone = 0, pad = 1 };

}  // namespace platform
