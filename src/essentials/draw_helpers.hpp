#pragma once
// Small drawing helpers shared by every screen.
#include <string>

// Alpha blend, alpha 1, scale (1, 1), rotation 0, colour white.
void resetDrawState();
// Draws text centred on x, and on y when centreVertically is 1, with the
// current font, colour, alpha, blend, scale and rotation.
void drawTextCentred(const std::string& text, float x, float y, int centreVertically);
// Darkens the whole screen with black at the given alpha: a translucent
// clear that leaves trails. In a skipped frame (pf::frameSkipped: left
// undrawn to keep time, a replay played fast or sought) it only notes the
// alpha, and the next drawn fade darkens by every noted one too, so that
// skipped frames never lengthen the trails.
void drawFade(float alpha);
// Drops the darkening noted in skipped frames (a fresh program state).
void forgetSkippedFades();
