#pragma once
// Loads every image, font, sound and channel into `assets`, in the order and
// with the flags start-up uses. Start-up calls the steps one by one around its
// display frames; loadGameAssets runs them all without any frame.

// The font (made current at once) and the single images.
void loadFontAndImages();
// The 112 one-pixel columns of the rock wall, so each can be offset on its own.
void makeRockSlices();
// The 32 water frames, with black as the mask colour.
void loadWaterFrames();
// The handles fixed at load time: the centred glow sprite and heart, and the
// left- and right-anchored glow sprites for the side glows.
void setBlobHandles();
// Names, descriptions and the two icon sets of the ten achievements.
void loadAchievements();
// The three music tracks and eleven effects, each followed by its channel.
void loadSoundsAndChannels();

// Every step above in start-up order; works on the headless backend too.
void loadGameAssets();
