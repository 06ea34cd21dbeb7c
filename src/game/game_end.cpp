// The end of a run: game over, level complete with its results tally, and
// level failed. Each plays timed texts and sounds, fades out and then ends
// the run. Bonuses are computed in 32-bit integers and added to the score.
#include <string>

#include "essentials/assets.hpp"
#include "essentials/int32.hpp"
#include "essentials/sound_helpers.hpp"
#include "game/game.hpp"

namespace {

// Result lines stand still, size 2, life 6.
constexpr float kResultSize = 2;
constexpr float kResultLife = 6;

}  // namespace

int game::gameOverSequence() {
  if (playerstarttimer == 60) addText(400, 300, 1, 2, "GAME OVER", 3);
  if (playerstarttimer > 200) {
    fadeout = 1;
    fadealpha += 0.01f;
    if (fadealpha >= 1.1f) return 1;
  }
  return 0;
}

int game::levelEndSequence() {
  const int t = bossdeadtimer;
  const auto result = [&](const std::string& heading, int32_t bonus) {
    addText(400, 200, 0, kResultSize, heading, kResultLife);
    addText(400, 270, 0, kResultSize, "+" + std::to_string(bonus), kResultLife);
    score += bonus;
    playSfx(assets.sfxCool, 0.4f, 1.0f);
  };
  const auto fade = [&]() {
    fadeout = 1;
    fadealpha += 0.01f;
  };

  if (timeup == 1) {
    if (t == 200) addText(400, 200, 0, kResultSize, "Time up!", kResultLife);
    if (t == 350) addText(400, 200, 0, kResultSize, "Level Failed", kResultLife);
    gamefailed = 1;
    if (t >= 450) {
      fade();
      if (fadealpha >= 1.1f) return 1;
    }
    return 0;
  }

  if (t == 200) addText(400, 200, 0, kResultSize, "LEVEL COMPLETE!", kResultLife);
  if (t == 350) {
    result("Kills + " + std::to_string(killcount) + " x multi", wrap32(static_cast<int64_t>(killcount) * multiplier));
  }
  if (t == 500) result("Time x 1000", wrap32(static_cast<int64_t>(bosstimer) * 1000 * multiplier));
  if (t == 650) result("Life Bonus", wrap32(static_cast<int64_t>(lives) * 10000 * multiplier));
  if (t == 800 && lives == 3) {
    addText(400, 200, 0, 2.5f, "PERFECT", kResultLife);
    addText(400, 270, 0, kResultSize, "+1000000", kResultLife);
    score += 1000000;
    playSfx(assets.sfxPerfect, 0.4f, 1.0f);
    gotperfect = 1;
  }
  if (t >= 950) {
    fade();
    gamecompleted = 1;
    if (fadealpha >= 1.1f) return 1;
  }
  return 0;
}
