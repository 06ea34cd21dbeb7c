#include "essentials/assets.hpp"

GameAssets assets;
