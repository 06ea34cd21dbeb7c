#include "game/game_frame.hpp"

#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "platform/input_tape.hpp"
#include "platform/platform.hpp"

int stepFrame(game& g) {
  const int ended = program.paused == 0 ? g.Update() : 0;
  g.Draw();
  pf::inputTape().endFrame();
  return ended;
}

int playFrame(game& g) {
  const int ended = stepFrame(g);
  pf::flipKeepingTime();
  return ended;
}
