#include "essentials/program_reset.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "platform/platform.hpp"

void resetProgramState(uint64_t seed) {
  settings = Settings{};
  program = ProgramState{};
  SeedRnd(seed);
  SeedDrawRnd(seed);
  resetRockSway();
  forgetSkippedFades();
  for (SoundSlot* slot : assets.soundSlots()) {
    pf::stopChannel(slot->channel);
    slot->channel = pf::allocChannel();
  }
}
