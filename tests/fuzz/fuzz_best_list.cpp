// The online best list as the scores screen gets it from the network: split
// at "<br>" and drawn through the headless backend, twice (the tokenizer
// rewinds for the next frame).
#include <cstddef>
#include <cstdint>
#include <string>

#include "essentials/assets.hpp"
#include "frontend/best_list.hpp"
#include "persist/tokenizer.hpp"
#include "platform/platform.hpp"
#include "test_support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  freshHeadless();
  assets.gameFont.store(pf::loadFont("/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf", 20, 5));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Tokenizer list;
  list.Set(std::string(reinterpret_cast<const char*>(data), size));
  list.Tokenize("<br>");
  drawBestList(list);
  drawBestList(list);
  if (list.HasMoreTokens() != (list.CountTokens() > 0 ? 1 : 0)) __builtin_trap();  // not rewound
  return 0;
}
