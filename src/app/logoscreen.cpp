#include "app/logoscreen.hpp"

#include <algorithm>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

namespace {

constexpr int kFadeInFrames = 150;
// Alpha keeps rising past 1 for these frames, so the mark stays fully lit for
// as long again before the fade-out becomes visible.
constexpr int kHoldFrames = 30;
constexpr float kFadeStep = 1.0f / kFadeInFrames;

constexpr float kCentreX = 400.0f;
constexpr float kMarkY = 250.0f;
constexpr float kRingRadius = 78.0f;
constexpr int kRingGlows = 40;

struct Tint {
  int r, g, b;
};

// Cyan to violet to magenta around the ring and back.
Tint ringTint(float t) {
  const float w = 0.5f + 0.5f * static_cast<float>(Cos(t * 360.0f));
  return Tint{static_cast<int>(40 + 215 * (1.0f - w)), static_cast<int>(70 + 160 * w), 255};
}

void glow(const pf::Image& blob, float x, float y, float scale, Tint tint, float alpha) {
  pf::setScale(scale, scale);
  pf::setColour(tint.r, tint.g, tint.b);
  pf::setAlpha(alpha);
  pf::drawImage(blob, x, y);
}

void paintMark(const pf::Image& blob, float fade, int timer) {
  pf::setBlend(pf::kBlendLight);
  // Deep-water halo behind everything.
  glow(blob, kCentreX, 300.0f, 14.0f, Tint{8, 40, 90}, fade * 0.9f);
  glow(blob, kCentreX, kMarkY, 6.0f, Tint{20, 70, 140}, fade * 0.6f);

  // The ring: a wave of brightness runs round it while it turns slowly.
  const float spin = static_cast<float>(timer) * 0.6f;
  for (int i = 0; i < kRingGlows; ++i) {
    const float t = static_cast<float>(i) / kRingGlows;
    const float angle = t * 360.0f + spin;
    const float wave = 0.5f + 0.5f * static_cast<float>(Sin(t * 720.0f - static_cast<float>(timer) * 4.0f));
    const float x = kCentreX + kRingRadius * static_cast<float>(Cos(angle));
    const float y = kMarkY + kRingRadius * static_cast<float>(Sin(angle));
    glow(blob, x, y, 0.55f + 0.25f * wave, ringTint(t), fade * (0.35f + 0.45f * wave));
  }

  // The pearl at the centre, breathing gently.
  const float breath = 0.5f + 0.5f * static_cast<float>(Sin(static_cast<float>(timer) * 3.0f));
  glow(blob, kCentreX, kMarkY, 2.6f + 0.3f * breath, Tint{60, 160, 255}, fade * 0.55f);
  glow(blob, kCentreX, kMarkY, 1.1f, Tint{200, 245, 255}, fade);
  glow(blob, kCentreX, kMarkY, 0.5f, Tint{255, 255, 255}, fade);

  // A soft light bar for the name to sit on.
  pf::setScale(9.0f, 0.9f);
  pf::setColour(30, 110, 200);
  pf::setAlpha(fade * 0.5f);
  pf::drawImage(blob, kCentreX, 392.0f);
}

void paintName(float fade) {
  pf::setScale(1.6f, 1.6f);
  pf::setBlend(pf::kBlendLight);
  pf::setColour(40, 160, 255);
  pf::setAlpha(fade * 0.5f);
  drawTextCentred("pellmore games", kCentreX + 1.0f, 391.0f, 1);
  pf::setBlend(pf::kBlendAlpha);
  pf::setColour(225, 248, 255);
  pf::setAlpha(fade);
  drawTextCentred("pellmore games", kCentreX, 390.0f, 1);

  pf::setScale(0.6f, 0.6f);
  pf::setColour(120, 190, 235);
  pf::setAlpha(fade * 0.8f);
  drawTextCentred("deep sea arcade", kCentreX, 432.0f, 1);
}

}  // namespace

int logoscreen::Do() {
  ++timer;
  if (goback == 0) {
    Alpha += kFadeStep;
    if (timer >= kFadeInFrames + kHoldFrames) goback = 1;
  } else {
    Alpha -= kFadeStep;
    if (Alpha <= 0.0f) return 1;
  }
  paint();
  return 0;
}

void logoscreen::paint() const {
  const float fade = std::clamp(Alpha, 0.0f, 1.0f);
  resetDrawState();
  paintMark(assets.blobImage(), fade, timer);
  paintName(fade);
  resetDrawState();
}
