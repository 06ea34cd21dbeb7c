#include "game/level.hpp"

#include "platform/platform.hpp"

void stopLevelMusic() {
  pf::stopChannel((assets.*kNeonOcean.music).channel);
  pf::stopChannel((assets.*kNeonOcean.bossMusic).channel);
}
