#pragma once
// Small drawing helpers shared by every screen.
#include <string>

// Alpha blend, alpha 1, scale (1, 1), rotation 0, colour white.
void resetDrawState();
// Draws text centred on x, and on y when centreVertically is 1, with the
// current font, colour, alpha, blend, scale and rotation.
void drawTextCentred(const std::string& text, float x, float y, int centreVertically);
// Darkens the whole screen with black at the given alpha.
void drawFade(float alpha);
