#include "essentials/assets.hpp"

GameAssets assets;

void resetRockSway() {
  for (size_t i = 0; i < assets.rockSliceOffsets.size(); ++i) assets.rockSliceOffsets[i] = static_cast<float>(i);
}
