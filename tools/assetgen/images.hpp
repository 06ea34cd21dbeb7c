#pragma once
// Painters of the game's images; each returns the finished file bytes.
#include "encoders.hpp"

namespace gen {

Bytes glowSpritePng();  // 64x64 soft white glow, the base of every sprite
// The glow sprite's alpha at squared distance r2 from its centre, its radius
// being 1 (zero from r2 = 1 on).
float glowSpriteAlpha(float r2);
Bytes waterFrameJpeg(int frame);  // 512x512 caustics, frame 0..31 of a seamless loop
Bytes rockBackgroundPng();        // 800x600 dark rock texture
Bytes rockWallPng();              // 112x662 rock wall with a lit rim on column 0's side
Bytes powerBarFramePng();         // 50x250 frame of the special-energy bar
Bytes heartPng();                 // 43x38 lives emblem
Bytes flamePng();                 // 57x50 flame emblem

constexpr int kWaterFrames = 32;
constexpr int kAchievements = 10;
// 128x128 icon of achievement 0..9; dim is the not-yet-earned look.
Bytes achievementIconPng(int index, bool dim);

// The application icon, size by size pixels: the logo screen's mark.
Bytes appIconPng(int size);

}  // namespace gen
