#include "essentials/draw_helpers.hpp"

#include <algorithm>

#include "essentials/settings.hpp"
#include "platform/platform.hpp"

void resetDrawState() {
  pf::setBlend(pf::kBlendAlpha);
  pf::setAlpha(1.0f);
  pf::setScale(1.0f, 1.0f);
  pf::setRotation(0.0f);
  pf::setColour(255, 255, 255);
}

void drawTextCentred(const std::string& text, float x, float y, int centreVertically) {
  float sx = 1.0f, sy = 1.0f;
  pf::getScale(sx, sy);
  // Half the size, halved as an integer (truncated), then scaled.
  const float dx = static_cast<float>(pf::textWidth(text) / 2) * sx;
  float dy = 0.0f;
  if (centreVertically == 1) dy = static_cast<float>(pf::textHeight(text) / 2) * sy;
  pf::drawText(text, x - dx, y - dy);
}

namespace {
// What the fades of the frames skipped since the last drawn one would have
// left of the picture: 1 when none was.
float skippedFadesKeep = 1.0f;
}  // namespace

void drawFade(float alpha) {
  if (pf::frameSkipped()) {
    skippedFadesKeep *= 1.0f - std::clamp(alpha, 0.0f, 1.0f);
    return;
  }
  if (skippedFadesKeep < 1.0f && pf::drawingEnabled()) {
    // One fade darkens as much as every frame's fade would have.
    alpha = 1.0f - (1.0f - std::clamp(alpha, 0.0f, 1.0f)) * skippedFadesKeep;
    skippedFadesKeep = 1.0f;
  }
  resetDrawState();
  pf::setColour(0, 0, 0);
  pf::setAlpha(alpha);
  pf::fillRect(0.0f, 0.0f, static_cast<float>(settings.screenwidth), static_cast<float>(settings.screenheight));
  resetDrawState();
}

void forgetSkippedFades() { skippedFadesKeep = 1.0f; }
