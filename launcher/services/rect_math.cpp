// Rectangle and placement arithmetic.
#include "launcher/services/rect_math.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vorbin {

Rect normalizeRect(Rect r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

Rect intersectRect(Rect r, Rect bound) {
  r = normalizeRect(r);
  bound = normalizeRect(bound);
  Rect out{std::clamp(r.left, bound.left, bound.right), std::clamp(r.top, bound.top, bound.bottom),
           std::clamp(r.right, bound.left, bound.right), std::clamp(r.bottom, bound.top, bound.bottom)};
  return out;
}

Point keepInside(Point p, int width, int height, Rect area) {
  // Right/bottom first so that an oversized window keeps its top-left visible;
  // 64-bit so that positions read from a damaged profile cannot overflow.
  int64_t x = p.x, y = p.y;
  if (x + width > area.right) x = static_cast<int64_t>(area.right) - width;
  if (y + height > area.bottom) y = static_cast<int64_t>(area.bottom) - height;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  return {static_cast<int>(x), static_cast<int>(y)};
}

Point mapProportional(Point p, Rect from, Rect to) {
  if (from.width() <= 0 || from.height() <= 0) return {to.left, to.top};
  int64_t x = to.left + static_cast<int64_t>(p.x - from.left) * to.width() / from.width();
  int64_t y = to.top + static_cast<int64_t>(p.y - from.top) * to.height() / from.height();
  return {static_cast<int>(x), static_cast<int>(y)};
}

Point centeredBelowThird(Point p, int width, int height) { return {p.x - width / 2, p.y - height / 3}; }

int nearestArea(Point p, std::span<const Rect> areas) {
  int best = -1;
  double bestDistance = std::numeric_limits<double>::max();
  for (size_t i = 0; i < areas.size(); ++i) {
    const Rect& a = areas[i];
    const int64_t x = p.x, y = p.y;
    int64_t dx = x < a.left ? a.left - x : (x >= a.right ? x - a.right + 1 : 0);
    int64_t dy = y < a.top ? a.top - y : (y >= a.bottom ? y - a.bottom + 1 : 0);
    double d = static_cast<double>(dx) * static_cast<double>(dx) + static_cast<double>(dy) * static_cast<double>(dy);
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

bool reachable(Point topLeft, int width, int height, std::span<const Rect> areas, int minVisible) {
  const int64_t left = topLeft.x, top = topLeft.y;
  const int64_t right = left + width, bottom = top + height;
  for (const Rect& a : areas) {
    int64_t w = std::min<int64_t>(right, a.right) - std::max<int64_t>(left, a.left);
    int64_t h = std::min<int64_t>(bottom, a.bottom) - std::max<int64_t>(top, a.top);
    if (w >= minVisible && h >= minVisible) return true;
  }
  return false;
}

}  // namespace vorbin
