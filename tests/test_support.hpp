#pragma once
// Shared set-up for tests: a headless platform with default settings.
#include <gtest/gtest.h>

#include "platform/headless/headless_backend.hpp"

// True under continuous integration (CI=true), where .ci/run installs every
// tool and driver the tests use.
bool runningInCi();

// For a test that needs something of the machine (an X server, an audio
// driver, a tool on PATH): skipped where it is missing on a developer's
// machine, failed under CI, where a missing piece means a broken set-up.
#define SKIP_UNLESS_CI(message)          \
  do {                                   \
    if (runningInCi()) {                 \
      FAIL() << message << " (CI=true)"; \
    } else {                             \
      GTEST_SKIP() << message;           \
    }                                    \
  } while (0)

// Installs the headless backend, loads the game font and gives every sound
// not loaded a silent stand-in, resets settings and program state to their defaults and seeds
// the generator. Returns the headless display.
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
