#include "app/asset_loader.hpp"

#include <algorithm>
#include <cstdio>
#include <future>
#include <string>

#include "essentials/assets.hpp"
#include "platform/platform.hpp"

namespace {

constexpr int kRockSliceHeight = 600;
constexpr int kRockSliceFlags = pf::kImageMasked | pf::kImageDynamic;
constexpr int kWaterFlags = pf::kImageFiltered | pf::kImageMipmapped;
constexpr int kIconFlags = pf::kImageMasked | pf::kImageFiltered | pf::kImageMipmapped;

struct AchievementEntry {
  const char* name;
  const char* description;
  const char* icon;
  const char* dimIcon;
};

constexpr AchievementEntry kAchievementTable[kAchievements] = {
    {"Perfect", "Perfect finish the game with each ship", "a.png", "a1.png"},
    {"epic fail", "don't win, don't loose, just fail", "b.png", "b2.png"},
    {"Easy Peesy!", "finish the level with any ship", "c.png", "c2.png"},
    {"go hyper", "activate hyper mode and beat the level", "d.png", "d2.png"},
    {"power-ups?", "finish the level with ship 6 with no power ups", "e.png", "e2.png"},
    {"twenty", "get a 20x multiplier", "f.png", "f2.png"},
    {"thirty", "get a 30x multiplier", "g.png", "g2.png"},
    {"fourty", "get a 40x multiplier", "h.png", "h2.png"},
    {"i love jelly", "finish the level with out killing any jellyfish", "i.png", "i2.png"},
    {"speed demon", "beat the giant enemy crab with 80+ seconds left", "j.png", "j2.png"},
};

pf::ImagePtr image(const std::string& name, int flags) { return pf::loadImage("incbin::images\\" + name, flags); }

void loadSound(SoundSlot& slot, const char* name, int flags) {
  slot.sound = pf::loadSound(std::string("incbin::sfx/") + name, flags);
  slot.channel = pf::allocChannel();
}

// The three tracks are opened side by side (each reads its stream's headers
// and keeps its Ogg bytes for streaming); each is stored in its turn.
std::future<pf::SoundPtr> decodeMusic(const char* name) {
  return std::async(std::launch::async,
                    [name] { return pf::loadSound(std::string("incbin::sfx/") + name, pf::kSoundLoop); });
}

void storeMusic(SoundSlot& slot, std::future<pf::SoundPtr>& decoding) {
  slot.sound = decoding.get();
  slot.channel = pf::allocChannel();
}

}  // namespace

void loadFontAndImages() {
  assets.gameFont = pf::loadFont("incbin::images\\CG01.TTF", 20, pf::kFontBold | pf::kFontSmoothed);
  pf::setFont(assets.gameFont.get());
  assets.blobImage = image("blob.bmp", -1);
  assets.blobImageLeft = image("blob.bmp", -1);
  assets.blobImageRight = image("blob.bmp", -1);
  assets.rockBackgroundImage = image("rockbg.png", -1);
  assets.rockImage = image("rock1 copy.png", -1);
  assets.powerBarImage = image("powerbar.png", 3);
  assets.heartImage = image("heart.png", 3);
  assets.fireImage = image("fire.PNG", -1);
}

void makeRockSlices() {
  // Column i of the top 600 rows: exactly what grabbing a 600-high column
  // after drawing the rock image at (0, 0) yields, without a round trip
  // through the back buffer.
  const pf::Image* rock = assets.rockImage.get();
  for (int i = 0; i < kRockSlices; ++i) {
    pf::ImagePtr slice = pf::createImage(1, kRockSliceHeight, 1, kRockSliceFlags);
    if (rock != nullptr && i < rock->width()) {
      const std::vector<uint32_t>& source = rock->pixels(0);
      std::vector<uint32_t>& column = slice->pixels(0);
      const int rows = std::min(kRockSliceHeight, rock->height());
      for (int y = 0; y < rows; ++y)
        column[static_cast<size_t>(y)] = source[static_cast<size_t>(y) * rock->width() + i];
      slice->markDirty();
    }
    assets.rockSlices[static_cast<size_t>(i)] = std::move(slice);
  }
  resetRockSway();
}

void loadWaterFrames() {
  pf::setMaskColour(0, 0, 0);
  for (int i = 0; i < kWaterFrames; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "_%03d.jpg", i + 1);
    assets.waterFrames[static_cast<size_t>(i)] = image(name, kWaterFlags);
  }
}

void setBlobHandles() {
  // Every user of the glow sprite and the heart draws them about their centre.
  if (assets.blobImage) pf::midHandleImage(*assets.blobImage);
  if (assets.heartImage) pf::midHandleImage(*assets.heartImage);
  if (assets.blobImageLeft) pf::setImageHandle(*assets.blobImageLeft, 0.0f, 0.0f);
  if (assets.blobImageRight && assets.blobImage) {
    pf::setImageHandle(*assets.blobImageRight, static_cast<float>(assets.blobImage->width()), 0.0f);
  }
}

void loadAchievements() {
  for (size_t i = 0; i < kAchievements; ++i) {
    assets.achievementNames[i] = kAchievementTable[i].name;
    assets.achievementDescriptions[i] = kAchievementTable[i].description;
  }
  for (size_t i = 0; i < kAchievements; ++i) assets.achievementIcons[i] = image(kAchievementTable[i].icon, kIconFlags);
  for (size_t i = 0; i < kAchievements; ++i) {
    assets.achievementIconsDim[i] = image(kAchievementTable[i].dimIcon, kIconFlags);
  }
}

void loadSoundsAndChannels() {
  GameAssets& a = assets;
  std::future<pf::SoundPtr> title = decodeMusic("notechno.ogg");
  std::future<pf::SoundPtr> level = decodeMusic("bornsand.ogg");
  std::future<pf::SoundPtr> boss = decodeMusic("dirtysex.ogg");
  storeMusic(a.musicTitle, title);
  storeMusic(a.musicLevel, level);
  storeMusic(a.musicBoss, boss);
  loadSound(a.sfxPshot, "pshot.wav", 0);
  loadSound(a.sfxBshot, "bshot.wav", 0);
  loadSound(a.sfxZap, "zap2.wav", 0);
  loadSound(a.sfxMssl, "mssl.wav", 0);
  loadSound(a.sfxYes, "yes-3.wav", 0);
  loadSound(a.sfxFruitJack, "FruitJack2.wav", 0);
  // A second, independent load so two zaps can overlap.
  loadSound(a.sfxZap2, "zap2.wav", 0);
  loadSound(a.sfxMissile, "missile.wav", 0);
  loadSound(a.sfxPerfect, "perfect.wav", 0);
  loadSound(a.sfxCool, "cool.wav", 0);
  loadSound(a.sfxExplosion, "Explosion2.wav", 0);
}

void loadGameAssets() {
  loadFontAndImages();
  makeRockSlices();
  loadWaterFrames();
  setBlobHandles();
  loadAchievements();
  loadSoundsAndChannels();
}
