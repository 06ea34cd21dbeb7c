// ovelune-scene-shots: plays a seeded run on the real SDL/OpenGL backend and
// saves chosen frames of the off-screen buffer as PNG files.
//
//   ovelune-scene-shots --out DIR [--seed S] [--frames N] [--render N]
//   ovelune-scene-shots --out DIR --ship N [--power P] [--seed S]
//
// Keys are fed straight into the input state from a fixed script instead of
// coming from X events, and the window's focus is ignored, so the same seed
// always plays (and draws) the same run. Every frame is drawn and flipped
// unless --render N asks to draw only the N frames before each shot: the
// run itself is the same either way (drawing never feeds back into play), and
// the translucent clear erases older frames from the picture within a few
// dozen frames. Writes, into DIR:
//   scene-titles.png       frame 100: the "Level 1" / "Neon Ocean" titles
//                          (they fade out by frame 165)
//   scene-frame300.png     frame 300: the first starfish, before the waves
//   scene-shrimp-wave.png  frame 3500, the shrimp wave, ship one at power 3
//   scene-paused.png       the pause overlay a few frames after Escape
// and then, from a second run whose clock starts at frame 1800 (the timeline
// reads only the clock) with the ship holding its fire so the creatures stay
// whole, one picture of each later creature on the level frame given:
//   scene-anemones.png     2400    scene-eels.png        5200
//   scene-seahorses.png    6450    scene-jellyfish.png   7000
//   scene-hermitshells.png 9500
// With --ship, a short run of that ship at weapon power P (default 1) instead:
//   shipN-powerP-guns.png     frame 140, attack 1 held
//   shipN-powerP-second.png   frame 170, attack 2 held as well (ship one:
//                             straight; four and five: their second attack)
//   shipN-powerP-special.png  frame 205, attack 1 and the special held
// The power rises a level every ten frames from frame 60, as pick-ups would
// raise it (ship four gains its option stars).
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "driver_options.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "platform/backend.hpp"
#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "shot_run.hpp"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kEntryFrames = 120;  // the ship rises in and is invincible meanwhile
constexpr int kPauseFrame = 3540;  // Escape is pressed on this frame

const std::vector<Capture> kSceneCaptures = {
    {100, "scene-titles.png"},
    {300, "scene-frame300.png"},
    {3500, "scene-shrimp-wave.png"},
    {kPauseFrame + 6, "scene-paused.png"},
};
constexpr int kLastFrame = kPauseFrame + 6;

// The creature run: level frames, not frames of the run.
constexpr int kCreatureStart = 1800;
const std::vector<Capture> kCreatureCaptures = {
    {2400, "scene-anemones.png"},  {5200, "scene-eels.png"},         {6450, "scene-seahorses.png"},
    {7000, "scene-jellyfish.png"}, {9500, "scene-hermitshells.png"},
};

// The ship portraits: attack 1, attack 2 from frame 145, the special from 180.
constexpr int kSecondAttackFrom = 145;
constexpr int kSecondAttackUntil = 170;
constexpr int kSpecialFrom = 180;
constexpr int kPowerUpsFrom = 60;
std::vector<Capture> shipCaptures(int ship, int power) {
  const std::string stem = "ship" + std::to_string(ship) + "-power" + std::to_string(power);
  return {{140, stem + "-guns.png"}, {kSecondAttackUntil, stem + "-second.png"}, {205, stem + "-special.png"}};
}

// The scripted player: both attack buttons (unless told to hold fire; straight
// shots, no lean), and after the entry a slow sweep across the water so the
// ship dodges the middle of the shrimp stream. Reads only the session, so it
// is as repeatable as the session itself.
void play(game& g, int frame, bool fire = true) {
  holdKey(settings.fire1key, fire);
  holdKey(settings.fire2key, fire);
  const bool steering = g.playerstarttimer > kEntryFrames / 2;
  const double target = 400 + 170 * Sin(frame * 0.35);
  holdKey(settings.leftkey, steering && g.p1->x > target + 8);
  holdKey(settings.rightkey, steering && g.p1->x < target - 8);
  const double rest = 470;
  holdKey(settings.upkey, steering && g.p1->y > rest + 8);
  holdKey(settings.downkey, steering && g.p1->y < rest - 8);
}

// The portrait script: the ship rises in, sways gently from side to side (so
// a tail strings out behind it) and fires; ship one holds both buttons
// throughout (straight shots).
void playPortrait(game& g, int frame) {
  const int ship = g.p1->playertype;
  const bool second = frame >= kSecondAttackFrom && frame <= kSecondAttackUntil;
  holdKey(settings.fire1key, true);
  holdKey(settings.fire2key, ship == 1 || second);
  holdKey(settings.fire3key, frame >= kSpecialFrom);
  const bool steering = g.playerstarttimer > kEntryFrames / 2;
  const double target = 400 + 60 * Sin(frame * 3.0);
  holdKey(settings.leftkey, steering && g.p1->x > target + 8);
  holdKey(settings.rightkey, steering && g.p1->x < target - 8);
  holdKey(settings.upkey, steering && g.p1->y > 440);
  holdKey(settings.downkey, steering && g.p1->y < 420);
}

// Raises the power as pick-ups would (ship four gains its option stars), one
// level every ten frames.
void powerUp(game& g, int power) {
  if (g.playerstarttimer < kPowerUpsFrom) return;
  const int reached = 1 + (g.playerstarttimer - kPowerUpsFrom) / 10;
  while (g.powerlevel < power && g.powerlevel < reached) {
    g.powerlevel += 1;
    g.p1->powerUpCollected();
  }
}

}  // namespace

int main(int argc, char** argv) {
  const DriverOptions options(argc, argv, {"--out", "--seed", "--frames", "--render", "--ship", "--power"},
                              "usage: ovelune-scene-shots --out DIR [--seed S] [--frames N] [--render N]\n"
                              "       ovelune-scene-shots --out DIR --ship N [--power P] [--seed S]\n");
  const std::string outDir = options.text("--out");
  if (!options.ok() || outDir.empty()) return options.refuse();
  const auto seed = static_cast<uint64_t>(options.number("--seed", 7));
  auto lastFrame = static_cast<int>(options.number("--frames", kLastFrame));  // stops early: later shots are skipped
  const auto renderSpan = static_cast<int>(options.number("--render", 0));    // 0: draw every frame
  const auto ship = static_cast<int>(options.number("--ship", 0));            // 0: the scene run of ship one
  const auto power = static_cast<int>(options.number("--power", 1));
  const std::vector<Capture> captures = ship > 0 ? shipCaptures(ship, power) : kSceneCaptures;
  if (ship > 0) lastFrame = captures.back().frame;

  if (!openShotWindow()) return 1;

  SeedRnd(seed);
  std::unique_ptr<game> g = game::Create(ship > 0 ? ship : 1);
  if (!g) {
    std::fprintf(stderr, "there is no ship %d\n", ship);
    return 2;
  }
  pf::ImagePtr shot = pf::createImage(kWidth, kHeight, 1, pf::kImageDynamic);
  pf::inputState().flushKeys();

  pf::DisplayBackend* const display = pf::displayBackend();
  int status = 0;
  const auto capture = [&](const Capture& c, int frame) {
    if (!saveShot(*shot, outDir, c.file)) status = 1;
    std::printf("%s frame=%d lives=%d powerlevel=%d enemies=%zu bullets=%zu explosions=%zu paused=%d ship=%.0f,%.0f\n",
                c.file.c_str(), frame, g->lives, g->powerlevel, g->enemylist.size(), g->bulletlist.size(),
                g->explosionlist.size(), program.paused, g->p1->x, g->p1->y);
  };
  for (int frame = 1; frame <= lastFrame; ++frame) {
    pf::installDisplayBackend(drawnBeforeShot(captures, frame, renderSpan) ? display : nullptr);
    // Focus changes of the real window must not pause the scripted run.
    pf::inputState().setSuspended(false);
    if (ship > 0) {
      playPortrait(*g, frame);
    } else {
      play(*g, frame);
      holdKey(pf::vk::kEscape, frame == kPauseFrame);
    }
    if (program.paused == 0 && g->Update() == 1) {
      std::fprintf(stderr, "the run ended at frame %d\n", frame);
      status = 1;
      break;
    }
    // Weapon power 3 once the ship has risen in (again after a lost life).
    if (ship > 0) {
      powerUp(*g, power);
    } else if (g->playerstarttimer >= kEntryFrames && g->powerlevel < 3) {
      g->powerlevel = 3;
    }
    g->Draw();
    for (const Capture& c : captures) {
      if (c.frame == frame) capture(c, frame);
    }
    pf::flip();
  }

  // The creature run: the ship only sweeps, and its lives are topped up so
  // that the enemies' fire cannot end the run before the last picture.
  if (ship == 0 && lastFrame >= kLastFrame) {
    program = ProgramState{};
    pf::inputState().flushKeys();
    g = game::Create(1);
    g->gametimer = kCreatureStart;
    for (int frame = kCreatureStart + 1; frame <= kCreatureCaptures.back().frame; ++frame) {
      pf::installDisplayBackend(drawnBeforeShot(kCreatureCaptures, frame, renderSpan) ? display : nullptr);
      pf::inputState().setSuspended(false);
      play(*g, frame, false);
      g->lives = 3;
      if (g->Update() == 1) {
        std::fprintf(stderr, "the creature run ended at level frame %d\n", frame);
        status = 1;
        break;
      }
      g->Draw();
      for (const Capture& c : kCreatureCaptures) {
        if (c.frame == g->gametimer) capture(c, g->gametimer);
      }
      pf::flip();
    }
  }
  g.reset();
  closeShotWindow(display);
  return status;
}
