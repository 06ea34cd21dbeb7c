#include "test_support.hpp"

#include <cstdlib>
#include <memory>
#include <string>

#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/program_reset.hpp"
#include "essentials/settings.hpp"
#include "platform/platform.hpp"

bool runningInCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string(ci) == "true";
}

pf::HeadlessBackend& freshHeadless(uint64_t seed) {
  pf::HeadlessBackend& display = pf::installHeadless();
  // Play and drawing read the font and every sound as loaded: a test that
  // never loaded them gets the game font and silent stand-in sounds (an
  // asset a test lends stays its own).
  if (!assets.gameFont.loaded()) assets.gameFont.store(openGameFont());
  for (SoundSlot* slot : assets.soundSlots()) {
    if (!slot->sound.loaded()) slot->sound.store(std::make_unique<pf::Sound>());
  }
  resetProgramState(seed);
  return display;
}

void GlowSpriteTest::SetUp() {
  display = &freshHeadless(seed_);
  Loaded<pf::Image>* sprites[] = {&assets.blobImage, &assets.blobImageLeft, &assets.blobImageRight};
  for (int i = 0; i < 3; ++i) {
    pf::ImagePtr standIn = pf::createImage(64, 64, 1, 0);
    if (i == 0) pf::midHandleImage(*standIn);
    if (i == 2) pf::setImageHandle(*standIn, 64, 0);
    saved_[i] = sprites[i]->store(std::move(standIn));
  }
}

void GlowSpriteTest::TearDown() {
  display->setRecording(false);
  Loaded<pf::Image>* sprites[] = {&assets.blobImage, &assets.blobImageLeft, &assets.blobImageRight};
  for (int i = 0; i < 3; ++i) sprites[i]->store(std::move(saved_[i]));
}
