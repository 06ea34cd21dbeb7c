#include "test_support.hpp"

#include <cstdlib>
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
  resetProgramState(seed);
  return display;
}

void GlowSpriteTest::SetUp() {
  display = &freshHeadless(seed_);
  pf::ImagePtr* sprites[] = {&assets.blobImage, &assets.blobImageLeft, &assets.blobImageRight};
  for (int i = 0; i < 3; ++i) {
    saved_[i] = std::move(*sprites[i]);
    *sprites[i] = pf::createImage(64, 64, 1, 0);
  }
  pf::midHandleImage(*assets.blobImage);
  pf::setImageHandle(*assets.blobImageRight, 64, 0);
}

void GlowSpriteTest::TearDown() {
  display->setRecording(false);
  pf::ImagePtr* sprites[] = {&assets.blobImage, &assets.blobImageLeft, &assets.blobImageRight};
  for (int i = 0; i < 3; ++i) *sprites[i] = std::move(saved_[i]);
}
