// The drawing state and the drawing operations. Everything here is backend
// independent: the state is clamped and the drawing transform applied once,
// then finished primitives go to the installed display backend.
#include <algorithm>
#include <cmath>

#include "platform/backend.hpp"
#include "platform/platform.hpp"

namespace pf {
namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

struct DrawState {
  int r = 255, g = 255, b = 255;
  float alpha = 1.0f;
  uint8_t alphaByte = 255;
  int blend = kBlendAlpha;
  float rotation = 0.0f;
  float sx = 1.0f, sy = 1.0f;
  // The drawing transform: a point (px, py) relative to the draw position
  // lands at (x + px*ix + py*iy, y + px*jx + py*jy).
  float ix = 1.0f, iy = 0.0f, jx = 0.0f, jy = 1.0f;
  float cosR = 1.0f, sinR = 0.0f;  // of the rotation, recomputed only when it changes
  int clearR = 0, clearG = 0, clearB = 0;
  float lineWidth = 1.0f;
  bool lineSmooth = false;
  MaskColour mask;
  const Font* font = nullptr;
};

DrawState state;

void updateTransform() {
  state.ix = state.cosR * state.sx;
  state.iy = -state.sinR * state.sy;
  state.jx = state.sinR * state.sx;
  state.jy = state.cosR * state.sy;
}

uint8_t clampByte(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

// Places the rectangle (x0, y0)-(x1, y1), given relative to the draw
// position, through the transform.
void placeCorners(QuadCmd& q, float x, float y, float x0, float y0, float x1, float y1) {
  const float px[4] = {x0, x1, x1, x0};
  const float py[4] = {y0, y0, y1, y1};
  for (int i = 0; i < 4; ++i) {
    q.x[i] = x + px[i] * state.ix + py[i] * state.iy;
    q.y[i] = y + px[i] * state.jx + py[i] * state.jy;
  }
}

void applyColour(QuadCmd& q) {
  q.r = static_cast<uint8_t>(state.r);
  q.g = static_cast<uint8_t>(state.g);
  q.b = static_cast<uint8_t>(state.b);
  q.a = state.alphaByte;
  q.blend = state.blend;
}

void drawImageRect(const Image& image, float x, float y, float w, float h, int frame) {
  DisplayBackend* d = drawTarget();
  if (d == nullptr || frame < 0 || frame >= image.frames()) return;
  QuadCmd q;
  q.image = &image;
  q.frame = frame;
  placeCorners(q, x, y, -image.handleX(), -image.handleY(), w - image.handleX(), h - image.handleY());
  applyColour(q);
  d->drawQuad(q);
}

}  // namespace

void setColour(int r, int g, int b) {
  state.r = clampByte(r);
  state.g = clampByte(g);
  state.b = clampByte(b);
}

void getColour(int& r, int& g, int& b) {
  r = state.r;
  g = state.g;
  b = state.b;
}

void setAlpha(float alpha) {
  if (std::isnan(alpha)) alpha = 0.0f;
  state.alpha = std::clamp(alpha, 0.0f, 1.0f);
  state.alphaByte = static_cast<uint8_t>(state.alpha * 255.0f);
}

float getAlpha() { return state.alpha; }

void setBlend(int mode) { state.blend = mode; }
int getBlend() { return state.blend; }

void setRotation(float degrees) {
  if (degrees == state.rotation) return;
  state.rotation = degrees;
  const double rad = static_cast<double>(degrees) * kDegToRad;
  state.cosR = static_cast<float>(std::cos(rad));
  state.sinR = static_cast<float>(std::sin(rad));
  updateTransform();
}

float getRotation() { return state.rotation; }

void setScale(float sx, float sy) {
  if (sx == state.sx && sy == state.sy) return;
  state.sx = sx;
  state.sy = sy;
  updateTransform();
}

void getScale(float& sx, float& sy) {
  sx = state.sx;
  sy = state.sy;
}

void setClearColour(int r, int g, int b) {
  state.clearR = clampByte(r);
  state.clearG = clampByte(g);
  state.clearB = clampByte(b);
}

void setLineWidth(float width) { state.lineWidth = width; }
float getLineWidth() { return state.lineWidth; }

void setMaskColour(int r, int g, int b) { state.mask = MaskColour{clampByte(r), clampByte(g), clampByte(b)}; }
MaskColour getMaskColour() { return state.mask; }

void enableLineSmoothing() {
  state.lineSmooth = true;
  if (DisplayBackend* d = displayBackend()) d->setLineSmoothing(true);
}

void setFont(const Font* font) { state.font = font; }
const Font* currentFont() { return state.font; }

void resetPlatformDrawState() {
  const Font* font = state.font;
  state = DrawState{};
  state.font = font;
}

void clear() {
  DisplayBackend* d = displayBackend();
  if (d != nullptr && d->isOpen()) d->clear(state.clearR, state.clearG, state.clearB);
}

void drawImage(const Image& image, float x, float y, int frame) {
  drawImageRect(image, x, y, static_cast<float>(image.width()), static_cast<float>(image.height()), frame);
}

void drawImagePart(const Image& image, float x, float y, float w, float h, int frame) {
  drawImageRect(image, x, y, w, h, frame);
}

void fillRect(float x, float y, float w, float h) {
  DisplayBackend* d = drawTarget();
  if (d == nullptr) return;
  QuadCmd q;
  placeCorners(q, x, y, 0.0f, 0.0f, w, h);
  applyColour(q);
  d->drawQuad(q);
}

void drawLine(float x1, float y1, float x2, float y2) {
  DisplayBackend* d = drawTarget();
  if (d == nullptr) return;
  const float dx = x2 - x1;
  const float dy = y2 - y1;
  LineCmd l;
  l.x1 = x1;
  l.y1 = y1;
  l.x2 = x1 + dx * state.ix + dy * state.iy;
  l.y2 = y1 + dx * state.jx + dy * state.jy;
  l.width = state.lineWidth;
  l.smooth = state.lineSmooth;
  l.r = static_cast<uint8_t>(state.r);
  l.g = static_cast<uint8_t>(state.g);
  l.b = static_cast<uint8_t>(state.b);
  l.a = state.alphaByte;
  l.blend = state.blend;
  d->drawLine(l);
}

void plot(float x, float y) {
  DisplayBackend* d = drawTarget();
  if (d == nullptr) return;
  PointCmd p;
  p.x = x;
  p.y = y;
  p.r = static_cast<uint8_t>(state.r);
  p.g = static_cast<uint8_t>(state.g);
  p.b = static_cast<uint8_t>(state.b);
  p.a = state.alphaByte;
  p.blend = state.blend;
  d->drawPoint(p);
}

void drawText(const std::string& text, float x, float y) {
  DisplayBackend* d = drawTarget();
  if (d == nullptr || state.font == nullptr || text.empty()) return;
  const Font& font = *state.font;

  TextCmd t;
  t.text = &text;
  QuadCmd box;
  placeCorners(box, x, y, 0.0f, 0.0f, static_cast<float>(font.textWidth(text)),
               static_cast<float>(font.lineHeight()));
  std::copy(box.x, box.x + 4, t.x);
  std::copy(box.y, box.y + 4, t.y);
  t.r = static_cast<uint8_t>(state.r);
  t.g = static_cast<uint8_t>(state.g);
  t.b = static_cast<uint8_t>(state.b);
  t.a = state.alphaByte;
  t.blend = state.blend;
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
      applyColour(q);
      d->drawQuad(q);
    }
    pen += static_cast<float>(gl.advance);
  }
  d->endText();
}

int textWidth(const std::string& text) { return state.font != nullptr ? state.font->textWidth(text) : 0; }

int textHeight(const std::string&) { return state.font != nullptr ? state.font->lineHeight() : 0; }

void grabImage(Image& image, int x, int y, int frame) {
  DisplayBackend* d = displayBackend();
  if (d == nullptr || !d->isOpen() || frame < 0 || frame >= image.frames()) return;
  d->grab(image, frame, x, y);
  if ((image.flags() & kImageMasked) != 0) applyMask(image, frame, state.mask);
  image.markDirty();
}

void setImageHandle(Image& image, float x, float y) { image.setHandle(x, y); }

void midHandleImage(Image& image) {
  image.setHandle(static_cast<float>(image.width()) * 0.5f, static_cast<float>(image.height()) * 0.5f);
}

}  // namespace pf
