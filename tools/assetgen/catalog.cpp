#include "catalog.hpp"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "audio.hpp"
#include "images.hpp"

#ifndef OVELUNE_FONT_SOURCE
#error "OVELUNE_FONT_SOURCE must name the game font's TrueType file"
#endif

namespace gen {
namespace {

Bytes readFont() {
  std::ifstream in(OVELUNE_FONT_SOURCE, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot read the font ") + OVELUNE_FONT_SOURCE);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

AssetRecipe effect(const char* name, Clip (*make)()) {
  return {name, [make] { return effectWav(make()); }};
}

AssetRecipe music(const char* name, StereoTrack (*make)()) {
  return {name, [make] { return musicOgg(make()); }, true};
}

std::string waterName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "images\\_%03d.jpg", number);
  return name;
}

AssetRecipe water(int number) {
  return {waterName(number), [number] { return waterFrameJpeg(number - 1); }};
}

AssetRecipe icon(const std::string& file, int index, bool dim) {
  return {"images\\" + file, [index, dim] { return achievementIconPng(index, dim); }};
}

}  // namespace

std::vector<AssetRecipe> assetCatalog() {
  std::vector<AssetRecipe> list = {
      effect("sfx/zap2.wav", zapSound),           effect("sfx/pshot.wav", playerShotSound),
      effect("sfx/mssl.wav", missileWhooshSound), effect("sfx/bshot.wav", enemyShotSound),
      effect("sfx/yes-3.wav", yesSound),          effect("sfx/missile.wav", specialLaunchSound),
      effect("sfx/FruitJack2.wav", sparkleSound), effect("sfx/perfect.wav", perfectSound),
      effect("sfx/cool.wav", coolSound),          effect("sfx/Explosion2.wav", explosionSound),
      music("sfx/notechno.ogg", titleTheme),      music("sfx/bornsand.ogg", levelTheme),
      music("sfx/dirtysex.ogg", bossTheme),       {"images\\CG01.TTF", readFont},
      {"images\\blob.bmp", glowSpritePng},        {"images\\rockbg.png", rockBackgroundPng},
      {"images\\rock1 copy.png", rockWallPng},
  };
  // The last water frame comes first in the store, then the rest in order.
  list.push_back(water(kWaterFrames));
  for (int n = 1; n < kWaterFrames; ++n) list.push_back(water(n));
  list.push_back({"images\\powerbar.png", powerBarFramePng});
  list.push_back({"images\\heart.png", heartPng});
  list.push_back({"images\\fire.PNG", flamePng});
  // Icons: j first, then each dim/bright pair (the first dim one is a1), j2 last.
  constexpr int kJ = kAchievements - 1;
  list.push_back(icon("j.png", kJ, false));
  for (int i = 0; i < kJ; ++i) {
    const char letter = static_cast<char>('a' + i);
    list.push_back(icon(std::string(1, letter) + (i == 0 ? "1" : "2") + ".png", i, true));
    list.push_back(icon(std::string(1, letter) + ".png", i, false));
  }
  list.push_back(icon("j2.png", kJ, true));
  return list;
}

}  // namespace gen
