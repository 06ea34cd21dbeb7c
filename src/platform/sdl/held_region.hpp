#pragma once
// The part of the screen a soft layer holds light for: a few disjoint
// rectangles of whole layer pixels, grown by the reach of the filter that
// magnifies the layer. Adding the layer onto the screen touches only them,
// so a glow in a side panel does not make the whole screen be touched.
#include <array>
#include <cstddef>

namespace pf {

struct PixelRect {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // screen pixels, x1 and y1 excluded
  bool overlaps(const PixelRect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
  long area() const { return static_cast<long>(x1 - x0) * (y1 - y0); }
};

class HeldRegion {
 public:
  static constexpr int kMostRects = 4;

  // `cell`: screen pixels per layer pixel; the screen's size.
  void reset(int cell, int width, int height);
  // Grows the region by a screen rectangle drawn into the layer.
  void add(float x0, float y0, float x1, float y1);
  bool meets(float x0, float y0, float x1, float y1) const;
  bool empty() const { return count_ == 0; }
  int count() const { return count_; }
  const PixelRect& rect(int i) const { return rects_[static_cast<size_t>(i)]; }
  // The smallest rectangle around all of them.
  PixelRect hull() const;
  void clear() { count_ = 0; }

 private:
  void remove(int i);

  int cell_ = 1, width_ = 0, height_ = 0;
  std::array<PixelRect, kMostRects> rects_{};
  int count_ = 0;
};

}  // namespace pf
