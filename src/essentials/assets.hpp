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

// A sound and the channel it last played on, kept as one value so that a play
// can only ever cut off an earlier play of the same sound.
struct SoundSlot {
  pf::SoundPtr sound;
  pf::Channel channel;
};

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

  // Each sound with the channel of its latest play.
  SoundSlot musicTitle, musicLevel, musicBoss;
  SoundSlot sfxPshot, sfxBshot, sfxZap, sfxMssl, sfxYes, sfxFruitJack, sfxZap2, sfxMissile, sfxPerfect, sfxCool,
      sfxExplosion;

  // Every sound slot, music first, in load order.
  std::array<SoundSlot*, 14> soundSlots() {
    return {&musicTitle, &musicLevel,   &musicBoss, &sfxPshot,   &sfxBshot,   &sfxZap,  &sfxMssl,
            &sfxYes,     &sfxFruitJack, &sfxZap2,   &sfxMissile, &sfxPerfect, &sfxCool, &sfxExplosion};
  }
};

extern GameAssets assets;

// Each rock wall slice starts its sway at its own index.
void resetRockSway();
