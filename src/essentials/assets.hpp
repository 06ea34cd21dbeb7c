#pragma once
// Every image, font, sound and channel of the game, loaded once at start-up
// and kept for the whole run of the program.
#include <array>
#include <cassert>
#include <memory>
#include <string>

#include "platform/font.hpp"
#include "platform/image.hpp"
#include "platform/sound.hpp"

constexpr int kRockSlices = 112;
constexpr int kWaterFrames = 32;
constexpr int kAchievements = 10;

// An asset that start-up has loaded. Start-up decodes every asset or ends
// there, naming the one that failed (app/asset_loader), so everyone else
// reads it as a reference, `assets.blobImage()`, and never tests it.
template <class T>
class Loaded {
 public:
  const T& operator()() const {
    assert(item_ && "assets are read only after start-up has loaded them");
    return *item_;
  }
  // Only for code that runs before start-up could have loaded it (tests).
  bool loaded() const { return item_ != nullptr; }
  // The loader's write, with an asset it has checked; returns what was held
  // (tests lend an asset this way and give it back).
  std::unique_ptr<T> store(std::unique_ptr<T> item) {
    std::swap(item_, item);
    return item;
  }

 private:
  std::unique_ptr<T> item_;
};

// A sound and the channel it last played on, kept as one value so that a play
// can only ever cut off an earlier play of the same sound.
struct SoundSlot {
  Loaded<pf::Sound> sound;
  pf::Channel channel;
};

struct GameAssets {
  Loaded<pf::Font> gameFont;
  Loaded<pf::Image> blobImage;
  Loaded<pf::Image> blobImageLeft;
  Loaded<pf::Image> blobImageRight;
  Loaded<pf::Image> rockBackgroundImage;
  Loaded<pf::Image> rockImage;
  Loaded<pf::Image> powerBarImage;
  Loaded<pf::Image> heartImage;
  Loaded<pf::Image> fireImage;
  std::array<Loaded<pf::Image>, kRockSlices> rockSlices;
  std::array<float, kRockSlices> rockSliceOffsets{};
  std::array<Loaded<pf::Image>, kWaterFrames> waterFrames;

  std::array<std::string, kAchievements> achievementNames;
  std::array<std::string, kAchievements> achievementDescriptions;
  std::array<Loaded<pf::Image>, kAchievements> achievementIcons;
  std::array<Loaded<pf::Image>, kAchievements> achievementIconsDim;

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

// The game font as start-up loads it (size 20, bold, smoothed); null when
// the embedded file cannot be decoded.
constexpr const char* kGameFontName = "images\\CG01.TTF";
pf::FontPtr openGameFont();
// After the display opened again: the font once more, made current. Should
// that fail, the font loaded at start-up stays.
void reloadGameFont();
