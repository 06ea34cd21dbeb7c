#pragma once
// Where a blended sprite can change the screen at all. A fragment whose alpha
// comes out below half a step of the 8-bit buffer leaves the pixel as it was
// (alpha blending mixes in nothing, additive light adds nothing), so a glow
// sprite, whose round halo leaves the corners of its square transparent and
// fades out long before the edges when drawn faint, need only be rasterised
// inside an octagon around its visible texels. The octagon is exact for
// bilinear and nearest sampling of the top level: it is widened by the two
// texels a filtered sample reaches.
#include <cstdint>
#include <vector>

namespace pf {

class SpriteHull {
 public:
  static constexpr int kMaxCorners = 8;

  // Pixels as 0xAABBGGRR words, rows top-down.
  void build(const uint32_t* pixels, int width, int height);
  bool built() const { return !byAlpha_.empty(); }

  // The part of the texel rectangle [s0, s1] x [t0, t1] (texel units, x to
  // the right, y down) where texels sampled with `paintAlpha` (the vertex
  // alpha, 0 to 255) can reach the buffer: a convex polygon of up to eight
  // corners written to s and t, in order around it. Returns the number of
  // corners, 0 when nothing there can show.
  int clip(int paintAlpha, float s0, float t0, float s1, float t1, float* s, float* t) const;

 private:
  // Extremes of the texel centres along x, y, x + y and x - y.
  struct Bounds {
    int minX, maxX, minY, maxY, minSum, maxSum, minDiff, maxDiff;
    bool empty() const { return minX > maxX; }
  };
  // [a]: the bounds of the texels whose alpha is a or more.
  std::vector<Bounds> byAlpha_;
};

}  // namespace pf
