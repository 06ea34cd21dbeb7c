// The audio device failing in the middle of a run: from then on every
// OpenAL call fails (no current context, as after a lost device), and the
// run must go on silently, with its shots, sounds and frames as before.
#include <AL/alc.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "essentials/assets.hpp"
#include "essentials/settings.hpp"
#include "platform/backend.hpp"
#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/openal_audio.hpp"
#include "scenario_support.hpp"

namespace {

TEST(AudioFailure, ARunGoesOnSilentlyAfterTheDeviceFails) {
  std::unique_ptr<game> g = newRun(1, 3);
  setenv("ALSOFT_DRIVERS", "null", 1);
  std::unique_ptr<pf::OpenAlAudio> audio = pf::OpenAlAudio::open();
  if (audio == nullptr) SKIP_UNLESS_CI("OpenAL Soft's null output does not open here");
  pf::AudioBackend* previous = pf::audioBackend();
  pf::installAudioBackend(audio.get());

  skipEntry(*g);
  pf::inputState().keyPressed(settings.fire1key);
  ASSERT_EQ(runFrames(*g, 300), 0);
  ALCcontext* context = alcGetCurrentContext();
  ASSERT_NE(context, nullptr);
  alcMakeContextCurrent(nullptr);  // the device is gone

  const int timer = g->gametimer;
  EXPECT_EQ(runFrames(*g, 1200), 0);
  EXPECT_EQ(g->gametimer, timer + 1200);  // every frame ran

  pf::inputState().keyReleased(settings.fire1key);
  alcMakeContextCurrent(context);
  pf::installAudioBackend(previous);
}

}  // namespace
