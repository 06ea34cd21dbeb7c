#pragma once
// Every image, font, sound and channel of the game, loaded once at start-up
// and kept for the whole run of the program.
#include <array>
#include <string>

#include "platform/font.hpp"
#include "platform/image.hpp"
#include "platform/sound.hpp"

constexpr int kRockSlices = 112;
constexpr int kWaterFrames = 32;
constexpr int kAchievements = 10;

struct GameAssets {
  pf::FontPtr gameFont;
  pf::ImagePtr blobImage;
  pf::ImagePtr blobImageLeft;
  pf::ImagePtr blobImageRight;
  pf::ImagePtr rockBackgroundImage;
  pf::ImagePtr rockImage;
  pf::ImagePtr powerBarImage;
  pf::ImagePtr heartImage;
  pf::ImagePtr fireImage;
  std::array<pf::ImagePtr, kRockSlices> rockSlices;
  std::array<float, kRockSlices> rockSliceOffsets{};
  std::array<pf::ImagePtr, kWaterFrames> waterFrames;

  std::array<std::string, kAchievements> achievementNames;
  std::array<std::string, kAchievements> achievementDescriptions;
  std::array<pf::ImagePtr, kAchievements> achievementIcons;
  std::array<pf::ImagePtr, kAchievements> achievementIconsDim;

  pf::SoundPtr musicTitle, musicLevel, musicBoss;
  pf::SoundPtr sfxPshot, sfxBshot, sfxZap, sfxMssl, sfxYes, sfxFruitJack, sfxZap2, sfxMissile, sfxPerfect, sfxCool,
      sfxExplosion;

  pf::Channel musicTitleChannel, musicLevelChannel, musicBossChannel;
  pf::Channel chanPshot, chanBshot, chanZap, chanMssl, chanYes, chanFruitJack, chanZap2, chanMissile, chanPerfect,
      chanCool, chanExplosion;
};

extern GameAssets assets;
