#pragma once
// Shared set-up for tests: a headless platform with default settings.
#include "platform/headless/headless_backend.hpp"

// Installs the headless backend, resets settings and program state to their
// defaults and seeds the generator. Returns the headless display.
pf::HeadlessBackend& freshHeadless(uint64_t seed = 1);

#include <gtest/gtest.h>

#include "platform/image.hpp"

// A headless display with stand-in 64 x 64 glow sprites (centred, and the
// top-left and top-right anchored copies) in place of the loaded ones, which
// are put back afterwards.
class GlowSpriteTest : public ::testing::Test {
 protected:
  explicit GlowSpriteTest(uint64_t seed) : seed_(seed) {}
  void SetUp() override;
  void TearDown() override;

  pf::HeadlessBackend* display = nullptr;

 private:
  uint64_t seed_;
  pf::ImagePtr saved_[3];
};
