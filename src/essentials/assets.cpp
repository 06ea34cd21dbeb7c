#include "essentials/assets.hpp"

#include "platform/platform.hpp"

GameAssets assets;

void resetRockSway() {
  for (size_t i = 0; i < assets.rockSliceOffsets.size(); ++i) assets.rockSliceOffsets[i] = static_cast<float>(i);
}

pf::FontPtr openGameFont() {
  return pf::loadFont(std::string("incbin::") + kGameFontName, 20, pf::kFontBold | pf::kFontSmoothed);
}

void reloadGameFont() {
  if (pf::FontPtr font = openGameFont()) assets.gameFont.store(std::move(font));
  pf::setFont(&assets.gameFont());
}
