// Plain geometry shared by the painters and the window layer (right and bottom exclusive unless a
// function says otherwise).
#pragma once

namespace kv {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  Rect inflate(int d) const { return {left - d, top - d, right + d, bottom + d}; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace kv
