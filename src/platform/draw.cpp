// The drawing state and the drawing operations. Everything here is backend
// independent: the state is clamped and the drawing transform applied once,
// then finished primitives go to the installed display backend.
#include <algorithm>
#include <cmath>

#include "platform/backend.hpp"
#include "platform/platform.hpp"

namespace pf {

detail::DrawState detail::drawState;

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

detail::DrawState& state = detail::drawState;

// Brings the transform up to date with the rotation and scale; the sine and
// cosine only when the rotation itself changed.
void resolveTransform() {
  if (!state.transformDirty) return;
  if (state.rotation != state.transformRotation) {
    const double rad = static_cast<double>(state.rotation) * kDegToRad;
    state.cosR = static_cast<float>(std::cos(rad));
    state.sinR = static_cast<float>(std::sin(rad));
    state.transformRotation = state.rotation;
  }
  state.ix = state.cosR * state.sx;
  state.iy = -state.sinR * state.sy;
  state.jx = state.sinR * state.sx;
  state.jy = state.cosR * state.sy;
  state.transformDirty = false;
}

uint8_t clampByte(int v) { return static_cast<uint8_t>(detail::clampChannel(v)); }

// Alpha is held as the byte alpha x 255, truncated.
uint8_t alphaByte() { return static_cast<uint8_t>(getAlpha() * 255.0f); }

// Places the rectangle (x0, y0)-(x1, y1), given relative to the draw
// position, through the transform.
void placeCorners(QuadCmd& q, float x, float y, float x0, float y0, float x1, float y1) {
  resolveTransform();
  const float px[4] = {x0, x1, x1, x0};
  const float py[4] = {y0, y0, y1, y1};
  for (int i = 0; i < 4; ++i) {
    q.x[i] = x + px[i] * state.ix + py[i] * state.iy;
    q.y[i] = y + px[i] * state.jx + py[i] * state.jy;
  }
}

Paint currentPaint() {
  return Paint{clampByte(state.r), clampByte(state.g), clampByte(state.b), alphaByte(), state.blend};
}

}  // namespace

void detail::drawImageRect(const Image& image, Origin origin, float x, float y, float w, float h, int frame) {
  DisplayBackend* d = drawTarget();
  if (d == nullptr || frame < 0 || frame >= image.frames()) return;
  QuadCmd q;
  q.image = &image;
  q.frame = frame;
  placeCorners(q, x, y, -origin.x, -origin.y, w - origin.x, h - origin.y);
  q.paint = currentPaint();
  d->drawQuad(q);
}

void setClearColour(int r, int g, int b) {
  state.clearR = clampByte(r);
  state.clearG = clampByte(g);
  state.clearB = clampByte(b);
}

void setMaskColour(int r, int g, int b) { state.mask = MaskColour{clampByte(r), clampByte(g), clampByte(b)}; }
MaskColour getMaskColour() { return state.mask; }

void enableLineSmoothing() {
  state.lineSmooth = true;
  if (DisplayBackend* d = displayBackend()) d->setLineSmoothing(true);
}

void resetPlatformDrawState() {
  const Font* font = state.font;
  state = detail::DrawState{};
  state.font = font;
}

void clear() {
  DisplayBackend* d = displayBackend();
  if (d != nullptr && d->isOpen()) d->clear(state.clearR, state.clearG, state.clearB);
}

void fillRect(float x, float y, float w, float h) {
  DisplayBackend* d = drawTarget();
  if (d == nullptr) return;
  QuadCmd q;
  placeCorners(q, x, y, 0.0f, 0.0f, w, h);
  q.paint = currentPaint();
  d->drawQuad(q);
}

void drawLine(float x1, float y1, float x2, float y2) {
  DisplayBackend* d = drawTarget();
  if (d == nullptr) return;
  const float dx = x2 - x1;
  const float dy = y2 - y1;
  LineCmd l;
  resolveTransform();
  l.x1 = x1;
  l.y1 = y1;
  l.x2 = x1 + dx * state.ix + dy * state.iy;
  l.y2 = y1 + dx * state.jx + dy * state.jy;
  l.width = state.lineWidth;
  l.smooth = state.lineSmooth;
  l.paint = currentPaint();
  d->drawLine(l);
}

void plot(float x, float y) {
  DisplayBackend* d = drawTarget();
  if (d == nullptr) return;
  PointCmd p;
  p.x = x;
  p.y = y;
  p.paint = currentPaint();
  d->drawPoint(p);
}

void drawText(const std::string& text, float x, float y) {
  DisplayBackend* d = drawTarget();
  if (d == nullptr || state.font == nullptr || text.empty()) return;
  const Font& font = *state.font;

  TextCmd t;
  t.text = &text;
  QuadCmd box;
  placeCorners(box, x, y, 0.0f, 0.0f, static_cast<float>(font.textWidth(text)), static_cast<float>(font.lineHeight()));
  std::copy(box.x, box.x + 4, t.x);
  std::copy(box.y, box.y + 4, t.y);
  t.paint = currentPaint();
  d->beginText(t);

  float pen = 0.0f;
  for (unsigned char c : text) {
    const Glyph& gl = font.glyph(c);
    if (gl.width > 0 && gl.height > 0) {
      QuadCmd q;
      q.image = &font.atlas();
      const float gx = pen + static_cast<float>(gl.offsetX);
      const float gy = static_cast<float>(gl.offsetY);
      placeCorners(q, x, y, gx, gy, gx + static_cast<float>(gl.width), gy + static_cast<float>(gl.height));
      q.u0 = gl.u0;
      q.v0 = gl.v0;
      q.u1 = gl.u1;
      q.v1 = gl.v1;
      q.paint = currentPaint();
      d->drawQuad(q);
    }
    pen += static_cast<float>(gl.advance);
  }
  d->endText();
}

int textWidth(const std::string& text) { return state.font != nullptr ? state.font->textWidth(text) : 0; }

int textHeight(const std::string&) { return state.font != nullptr ? state.font->lineHeight() : 0; }

void setDrawClip(int x, int y, int w, int h) {
  if (DisplayBackend* d = drawTarget()) d->setClip(x, y, std::max(w, 1), std::max(h, 1));
}

void clearDrawClip() {
  if (DisplayBackend* d = drawTarget()) d->setClip(0, 0, 0, 0);
}

void grabImage(Image& image, int x, int y, int frame) {
  DisplayBackend* d = displayBackend();
  if (d == nullptr || !d->isOpen() || frame < 0 || frame >= image.frames()) return;
  d->grab(image, frame, x, y);
  if ((image.flags() & kImageMasked) != 0) applyMask(image, frame, state.mask);
  image.markDirty();
}

void setImageHandle(Image& image, float x, float y) { image.setHandle(x, y); }

void midHandleImage(Image& image) {
  const Origin centre = centreOf(image);
  image.setHandle(centre.x, centre.y);
}

}  // namespace pf
