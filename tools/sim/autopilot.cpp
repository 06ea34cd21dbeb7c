#include "autopilot.hpp"

#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "platform/input_state.hpp"

void Autopilot::steer(game&) {
  // Holds attack 1; dodging comes with the full level.
  pf::InputState& input = pf::inputState();
  if (!input.keyDown(settings.fire1key)) input.keyPressed(settings.fire1key);
}
