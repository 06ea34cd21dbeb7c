#pragma once
// The game's embedded files in their registration order, each with the
// recipe that makes its bytes.
#include <functional>
#include <string>
#include <vector>

#include "encoders.hpp"

namespace gen {

struct AssetRecipe {
  std::string name;  // the name the game opens it by ("images\\blob.bmp")
  std::function<Bytes()> make;
  bool heavy = false;  // started first when running in parallel
};

std::vector<AssetRecipe> assetCatalog();

}  // namespace gen
