#pragma once
// Loads every image, font, sound and channel into `assets`, in the order and
// with the flags start-up uses. Every asset is checked as it is loaded: each
// step returns the one line that names the first asset it could not load and
// what failed, or nothing. Start-up calls the steps one by one around its
// display frames; loadGameAssets runs them all without any frame.
#include <optional>
#include <string>

using AssetFailure = std::optional<std::string>;

// The font (made current at once) and the single images, with the handles
// every user draws them by: the glow sprite and the heart centred, the side
// glows anchored left and right.
[[nodiscard]] AssetFailure loadFontAndImages();
// The 112 one-pixel columns of the rock wall, so each can be offset on its own.
[[nodiscard]] AssetFailure makeRockSlices();
// The 32 water frames, with black as the mask colour.
[[nodiscard]] AssetFailure loadWaterFrames();
// Names, descriptions and the two icon sets of the ten achievements.
[[nodiscard]] AssetFailure loadAchievements();
// The three music tracks and eleven effects, each followed by its channel.
[[nodiscard]] AssetFailure loadSoundsAndChannels();

// Every step above in start-up order; works on the headless backend too.
[[nodiscard]] AssetFailure loadGameAssets();

// For tools and tests that run without start-up: registers the embedded files
// and loads every asset unless they are loaded; should one fail, prints the
// loader's line on standard error and ends the process with status 1.
void requireGameAssets();
