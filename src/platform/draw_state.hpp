#pragma once
// The one global drawing state. Setters only record what they are given, so
// they cost next to nothing; clamping and the drawing transform are worked out
// when something is actually drawn (draw.cpp).
#include "platform/font.hpp"
#include "platform/image.hpp"

namespace pf {

enum Blend : int { kBlendMask = 1, kBlendSolid = 2, kBlendAlpha = 3, kBlendLight = 4, kBlendShade = 5 };

// The point of an image placed at the draw position.
struct Origin {
  float x = 0, y = 0;
};

inline Origin centreOf(const Image& image) {
  return Origin{static_cast<float>(image.width()) * 0.5f, static_cast<float>(image.height()) * 0.5f};
}

namespace detail {

struct DrawState {
  int r = 255, g = 255, b = 255;  // as set; clamped to 0..255 when used
  float alpha = 1.0f;             // as set; clamped to 0..1 when used
  int blend = kBlendAlpha;
  float rotation = 0.0f;
  float sx = 1.0f, sy = 1.0f;
  bool transformDirty = false;  // rotation or scale changed since the transform was built
  // The drawing transform: a point (px, py) relative to the draw position
  // lands at (x + px*ix + py*iy, y + px*jx + py*jy).
  float ix = 1.0f, iy = 0.0f, jx = 0.0f, jy = 1.0f;
  float transformRotation = 0.0f;  // the rotation cosR and sinR belong to
  float cosR = 1.0f, sinR = 0.0f;
  int clearR = 0, clearG = 0, clearB = 0;
  float lineWidth = 1.0f;
  bool lineSmooth = false;
  MaskColour mask;
  const Font* font = nullptr;
};

extern DrawState drawState;
// True while a display is open and takes draws (see refreshDrawTarget).
extern bool drawingOn;
void drawImageRect(const Image& image, Origin origin, float x, float y, float w, float h, int frame);

inline int clampChannel(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

}  // namespace detail

inline void setColour(int r, int g, int b) {
  detail::drawState.r = r;
  detail::drawState.g = g;
  detail::drawState.b = b;
}

inline void getColour(int& r, int& g, int& b) {
  r = detail::clampChannel(detail::drawState.r);
  g = detail::clampChannel(detail::drawState.g);
  b = detail::clampChannel(detail::drawState.b);
}

inline void setAlpha(float alpha) { detail::drawState.alpha = alpha; }

// The alpha in effect: above 1 draws as 1, below 0 (or not a number) as 0.
inline float getAlpha() {
  const float a = detail::drawState.alpha;
  return a > 1.0f ? 1.0f : (a >= 0.0f ? a : 0.0f);
}

inline void setBlend(int mode) { detail::drawState.blend = mode; }
inline int getBlend() { return detail::drawState.blend; }

inline void setRotation(float degrees) {
  detail::drawState.rotation = degrees;
  detail::drawState.transformDirty = true;
}

inline float getRotation() { return detail::drawState.rotation; }

inline void setScale(float sx, float sy) {
  detail::drawState.sx = sx;
  detail::drawState.sy = sy;
  detail::drawState.transformDirty = true;
}

inline void getScale(float& sx, float& sy) {
  sx = detail::drawState.sx;
  sy = detail::drawState.sy;
}

inline void setLineWidth(float width) { detail::drawState.lineWidth = width; }
inline void setFont(const Font* font) { detail::drawState.font = font; }
inline const Font* currentFont() { return detail::drawState.font; }

}  // namespace pf
