#include "app/asset_loader.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>

#include "app/asset_store.hpp"
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

// Keeps the first failure among the assets it checks: a missing or
// undecodable asset is a fault of the build, reported once, by name.
class AssetCheck {
 public:
  template <class T>
  std::unique_ptr<T> checked(std::unique_ptr<T> item, const std::string& name, const char* kind) {
    if (!item && !failure_) {
      const std::vector<std::string> names = pf::embeddedFileNames();
      const bool present = std::find(names.begin(), names.end(), name) != names.end();
      failure_ = "Ovelune: the embedded asset \"" + name + "\" " +
                 (present ? std::string("could not be decoded as ") + kind : std::string("is not in this build"));
    }
    return item;
  }
  pf::ImagePtr image(const std::string& file, int flags) {
    const std::string name = "images\\" + file;
    return checked(pf::loadImage("incbin::" + name, flags), name, "a PNG or JPEG image");
  }
  void sound(SoundSlot& slot, std::unique_ptr<pf::Sound> sound, const std::string& file) {
    slot.sound.store(checked(std::move(sound), soundName(file), "a WAV or Ogg Vorbis sound"));
    slot.channel = pf::allocChannel();
  }
  AssetFailure result() const { return failure_; }

  static std::string soundName(const std::string& file) { return "sfx/" + file; }

 private:
  AssetFailure failure_;
};

pf::SoundPtr loadSfx(const char* file, int flags) {
  return pf::loadSound("incbin::" + AssetCheck::soundName(file), flags);
}

}  // namespace

AssetFailure loadFontAndImages() {
  AssetCheck check;
  assets.gameFont.store(check.checked(openGameFont(), kGameFontName, "a TrueType font"));
  pf::ImagePtr blob = check.image("blob.bmp", -1);
  pf::ImagePtr left = check.image("blob.bmp", -1);
  pf::ImagePtr right = check.image("blob.bmp", -1);
  assets.rockBackgroundImage.store(check.image("rockbg.png", -1));
  assets.rockImage.store(check.image("rock1 copy.png", -1));
  assets.powerBarImage.store(check.image("powerbar.png", 3));
  pf::ImagePtr heart = check.image("heart.png", 3);
  assets.fireImage.store(check.image("fire.PNG", -1));
  if (const AssetFailure failed = check.result()) return failed;
  // Every user of the glow sprite and the heart draws them about their
  // centre; the side glows hang from their left and right edges.
  pf::midHandleImage(*blob);
  pf::midHandleImage(*heart);
  pf::setImageHandle(*left, 0.0f, 0.0f);
  pf::setImageHandle(*right, static_cast<float>(blob->width()), 0.0f);
  assets.blobImage.store(std::move(blob));
  assets.blobImageLeft.store(std::move(left));
  assets.blobImageRight.store(std::move(right));
  assets.heartImage.store(std::move(heart));
  pf::setFont(&assets.gameFont());
  return {};
}

AssetFailure makeRockSlices() {
  // Column i of the top 600 rows: exactly what grabbing a 600-high column
  // after drawing the rock image at (0, 0) yields, without a round trip
  // through the back buffer.
  const pf::Image& rock = assets.rockImage();
  const int rows = std::min(kRockSliceHeight, rock.height());
  const std::vector<uint32_t>& source = rock.pixels(0);
  for (int i = 0; i < kRockSlices; ++i) {
    pf::ImagePtr slice = pf::createImage(1, kRockSliceHeight, 1, kRockSliceFlags);
    if (i < rock.width()) {
      std::vector<uint32_t>& column = slice->pixels(0);
      for (int y = 0; y < rows; ++y) column[static_cast<size_t>(y)] = source[static_cast<size_t>(y) * rock.width() + i];
      slice->markDirty();
    }
    assets.rockSlices[static_cast<size_t>(i)].store(std::move(slice));
  }
  resetRockSway();
  return {};
}

AssetFailure loadWaterFrames() {
  AssetCheck check;
  pf::setMaskColour(0, 0, 0);
  for (int i = 0; i < kWaterFrames; ++i) {
    char file[16];
    std::snprintf(file, sizeof file, "_%03d.jpg", i + 1);
    assets.waterFrames[static_cast<size_t>(i)].store(check.image(file, kWaterFlags));
  }
  return check.result();
}

AssetFailure loadAchievements() {
  AssetCheck check;
  for (size_t i = 0; i < kAchievements; ++i) {
    assets.achievementNames[i] = kAchievementTable[i].name;
    assets.achievementDescriptions[i] = kAchievementTable[i].description;
  }
  for (size_t i = 0; i < kAchievements; ++i) {
    assets.achievementIcons[i].store(check.image(kAchievementTable[i].icon, kIconFlags));
  }
  for (size_t i = 0; i < kAchievements; ++i) {
    assets.achievementIconsDim[i].store(check.image(kAchievementTable[i].dimIcon, kIconFlags));
  }
  return check.result();
}

AssetFailure loadSoundsAndChannels() {
  AssetCheck check;
  GameAssets& a = assets;
  // The three tracks are opened side by side (each reads its stream's
  // headers and keeps its Ogg bytes for streaming) and stored in turn.
  constexpr const char* kTracks[] = {"notechno.ogg", "bornsand.ogg", "dirtysex.ogg"};
  std::future<pf::SoundPtr> opening[3];
  for (size_t i = 0; i < 3; ++i) {
    const char* file = kTracks[i];
    opening[i] = std::async(std::launch::async, [file] { return loadSfx(file, pf::kSoundLoop); });
  }
  SoundSlot* tracks[] = {&a.musicTitle, &a.musicLevel, &a.musicBoss};
  for (size_t i = 0; i < 3; ++i) check.sound(*tracks[i], opening[i].get(), kTracks[i]);
  const auto effect = [&](SoundSlot& slot, const char* file) { check.sound(slot, loadSfx(file, 0), file); };
  effect(a.sfxPshot, "pshot.wav");
  effect(a.sfxBshot, "bshot.wav");
  effect(a.sfxZap, "zap2.wav");
  effect(a.sfxMssl, "mssl.wav");
  effect(a.sfxYes, "yes-3.wav");
  effect(a.sfxFruitJack, "FruitJack2.wav");
  // A second, independent load so two zaps can overlap.
  effect(a.sfxZap2, "zap2.wav");
  effect(a.sfxMissile, "missile.wav");
  effect(a.sfxPerfect, "perfect.wav");
  effect(a.sfxCool, "cool.wav");
  effect(a.sfxExplosion, "Explosion2.wav");
  return check.result();
}

void requireGameAssets() {
  if (assets.blobImage.loaded()) return;
  registerAssetStore();
  if (const AssetFailure failed = loadGameAssets()) {
    std::fprintf(stderr, "%s\n", failed->c_str());
    std::exit(1);
  }
}

AssetFailure loadGameAssets() {
  for (AssetFailure (*step)() :
       {loadFontAndImages, makeRockSlices, loadWaterFrames, loadAchievements, loadSoundsAndChannels}) {
    if (AssetFailure failed = step()) return failed;
  }
  return {};
}
