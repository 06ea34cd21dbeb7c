#pragma once
// Signed distance functions (in pixels, negative inside) and the painters that
// turn them into anti-aliased fills and neon strokes on a Canvas.
#include <functional>
#include <vector>

#include "canvas.hpp"

namespace gen {

struct Vec2 {
  float x = 0, y = 0;
};

using Sdf = std::function<float(float x, float y)>;

float sdCircle(float x, float y, float cx, float cy, float r);
float sdSegment(float x, float y, Vec2 a, Vec2 b);
// Distance to an open polyline (unsigned).
float sdPolyline(float x, float y, const std::vector<Vec2>& pts);
// Signed distance to a closed polygon (even-odd inside test).
float sdPolygon(float x, float y, const std::vector<Vec2>& pts);
float sdRoundRect(float x, float y, float cx, float cy, float halfW, float halfH, float radius);

// Points along a circular arc from angle a0 to a1 (degrees, 0 = +x, 90 = down).
std::vector<Vec2> arcPoints(float cx, float cy, float r, float a0, float a1, int steps);
// Corners of a star with the given number of points (first point up).
std::vector<Vec2> starPoints(float cx, float cy, float outer, float inner, int points);

// Opaque anti-aliased fill of the inside of sdf.
void fillShape(Canvas& c, const Sdf& sdf, Colour colour, float opacity = 1.0f);
// Same, with a colour that varies with the pixel position.
void fillShapeShaded(Canvas& c, const Sdf& sdf, const std::function<Colour(float x, float y)>& shade,
                     float opacity = 1.0f);
// Soft light around (and inside) a shape: intensity falls off with distance.
void glowShape(Canvas& c, const Sdf& sdf, Colour colour, float radius, float intensity);
// A neon tube along the zero set of an unsigned distance `line`: a hot,
// nearly white core of the given half width inside a coloured halo.
void neonStroke(Canvas& c, const Sdf& line, Colour colour, float halfWidth, float glowRadius, float glow = 0.8f);

// The glyphs of the little stroke font used on icons: 0 2 3 4 x ? !. Returns
// polylines in a cell of width 0.6 and height 1 (y down), to be scaled.
std::vector<std::vector<Vec2>> strokeGlyph(char c);
// Polylines of a text laid out from (x, y) with the given glyph height.
std::vector<std::vector<Vec2>> strokeText(const char* text, float x, float y, float height, float spacing);
// Distance to the nearest of several polylines.
float sdPolylines(float x, float y, const std::vector<std::vector<Vec2>>& lines);

}  // namespace gen
