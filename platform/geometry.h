#pragma once

namespace platform {

struct Point {
  double x = 0.0;
  double y = 0.0;
  constexpr bool operator==(const Point&) const = default;
};

struct Rect {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;

  constexpr bool contains(Point p) const {
    return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height;
  }
  constexpr Point center() const { return {x + width / 2.0, y + height / 2.0}; }
  constexpr bool operator==(const Rect&) const = default;
};

constexpr double rectGetWidth(const Rect& r) { return r.width; }
constexpr double rectGetHeight(const Rect& r) { return r.height; }

}  // namespace platform
