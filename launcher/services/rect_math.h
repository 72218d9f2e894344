// Rectangle and placement arithmetic for windows on one or more screens.
#pragma once
#include <span>

namespace vorbin {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool operator==(const Rect&) const = default;
};

// Orders the corners so that left <= right and top <= bottom.
Rect normalizeRect(Rect r);
// r clipped to bound; an empty rectangle at the clipped corner when they do
// not meet.
Rect intersectRect(Rect r, Rect bound);
// The top-left corner that keeps a width x height rectangle at topLeft inside
// area; when it is larger than the area its top-left corner stays visible.
Point keepInside(Point topLeft, int width, int height, Rect area);
// The point at the same proportional position in to as p has in from.
Point mapProportional(Point p, Rect from, Rect to);
// Top-left corner for a window centred horizontally on p whose top lies a
// third of its height above p.
Point centeredBelowThird(Point p, int width, int height);
// Index of the area nearest to p (0 distance when inside); -1 for none.
int nearestArea(Point p, std::span<const Rect> areas);
// True when a rectangle at topLeft overlaps at least one of the areas by a
// strip big enough to grab (minVisible pixels each way).
bool reachable(Point topLeft, int width, int height, std::span<const Rect> areas, int minVisible);

}  // namespace vorbin
