#include "platform/sdl/held_region.hpp"

#include <algorithm>
#include <climits>
#include <cmath>

namespace pf {
namespace {

PixelRect unite(const PixelRect& a, const PixelRect& b) {
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

}  // namespace

void HeldRegion::reset(int cell, int width, int height) {
  cell_ = std::max(cell, 1);
  width_ = width;
  height_ = height;
  count_ = 0;
}

void HeldRegion::remove(int i) {
  rects_[static_cast<size_t>(i)] = rects_[static_cast<size_t>(count_ - 1)];
  --count_;
}

void HeldRegion::add(float x0, float y0, float x1, float y1) {
  // Whole layer pixels, and one more on every side: a magnified layer pixel
  // reaches the screen pixels within one layer pixel of its centre.
  const auto cell = static_cast<float>(cell_);
  PixelRect r{std::max(0, (static_cast<int>(std::floor(x0 / cell)) - 1) * cell_),
              std::max(0, (static_cast<int>(std::floor(y0 / cell)) - 1) * cell_),
              std::min(width_, (static_cast<int>(std::ceil(x1 / cell)) + 1) * cell_),
              std::min(height_, (static_cast<int>(std::ceil(y1 / cell)) + 1) * cell_)};
  if (r.x0 >= r.x1 || r.y0 >= r.y1) return;
  while (true) {
    int merge = -1;
    for (int i = 0; i < count_ && merge < 0; ++i) {
      if (rects_[static_cast<size_t>(i)].overlaps(r)) merge = i;
    }
    if (merge < 0 && count_ == kMostRects) {
      // Full: joined to the rectangle that grows least by it.
      long best = LONG_MAX;
      for (int i = 0; i < count_; ++i) {
        const PixelRect& o = rects_[static_cast<size_t>(i)];
        const long growth = unite(o, r).area() - o.area();
        if (growth < best) {
          best = growth;
          merge = i;
        }
      }
    }
    if (merge < 0) break;
    r = unite(r, rects_[static_cast<size_t>(merge)]);
    remove(merge);
  }
  rects_[static_cast<size_t>(count_++)] = r;
}

bool HeldRegion::meets(float x0, float y0, float x1, float y1) const {
  for (int i = 0; i < count_; ++i) {
    const PixelRect& o = rects_[static_cast<size_t>(i)];
    if (x0 < static_cast<float>(o.x1) && x1 > static_cast<float>(o.x0) && y0 < static_cast<float>(o.y1) &&
        y1 > static_cast<float>(o.y0)) {
      return true;
    }
  }
  return false;
}

PixelRect HeldRegion::hull() const {
  PixelRect h = rects_[0];
  for (int i = 1; i < count_; ++i) h = unite(h, rects_[static_cast<size_t>(i)]);
  return h;
}

}  // namespace pf
