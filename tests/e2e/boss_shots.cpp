// ovelune-boss-shots: the giant crab drawn by the real SDL/OpenGL backend in
// each of its stages, saved as PNG files for a person to look at.
//
//   ovelune-boss-shots --out DIR [--seed S]
//
// A seeded run of ship one starts at the frame before the crab arrives. The
// ship cannot be hit (it is kept in the invincible part of its entry), fires
// all the time from the middle of the water and leans nowhere. The crab's
// stages are set by hand so that each shot comes after the same number of
// frames: the claws are taken off, later the energy is cut below the frenzy
// line. Only the 120 frames before each shot are drawn: the translucent
// clear forgets older frames within a few dozen. Writes, into DIR:
//   boss-phase1.png   the crab with both claws, firing its opening fans
//   boss-phase2.png   the clawless crab, stumps bleeding, its second patterns
//   boss-frenzy.png   below 400 energy, the frenzy spirals
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "driver_options.hpp"
#include "enemies/boss.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "platform/backend.hpp"
#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "shot_run.hpp"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kDrawSpan = 120;
constexpr int kArrival = 11100 + 339;
// Frame numbers of the run (gametimer).
constexpr int kPhase1Shot = kArrival + 200;
constexpr int kClawsGone = kArrival + 700;
constexpr int kPhase2Shot = kClawsGone + 300;
constexpr int kFrenzy = kPhase2Shot + 200;
constexpr int kFrenzyShot = kFrenzy + 150;

const std::vector<Capture> kCaptures = {
    {kPhase1Shot, "boss-phase1.png"},
    {kPhase2Shot, "boss-phase2.png"},
    {kFrenzyShot, "boss-frenzy.png"},
};

boss* findCrab(game& g) {
  boss* crab = nullptr;
  g.enemylist.forEach([&](enemybase& e) {
    if (e.isboss == 1) crab = static_cast<boss*>(&e);
  });
  return crab;
}

}  // namespace

int main(int argc, char** argv) {
  const DriverOptions options(argc, argv, {"--out", "--seed"}, "usage: ovelune-boss-shots --out DIR [--seed S]\n");
  const std::string outDir = options.text("--out");
  if (!options.ok() || outDir.empty()) return options.refuse();
  const auto seed = static_cast<uint64_t>(options.number("--seed", 7));

  if (!openShotWindow()) return 1;
  SeedRnd(seed);
  std::unique_ptr<game> g = game::Create(1);
  pf::ImagePtr shot = pf::createImage(kWidth, kHeight, 1, pf::kImageDynamic);
  pf::inputState().flushKeys();
  g->gametimer = 11099;

  pf::DisplayBackend* const display = pf::displayBackend();
  int status = 0;
  while (g->gametimer < kFrenzyShot) {
    const int frame = g->gametimer + 1;
    pf::installDisplayBackend(drawnBeforeShot(kCaptures, frame, kDrawSpan) ? display : nullptr);
    pf::inputState().setSuspended(false);
    holdKey(settings.fire1key, true);
    holdKey(settings.fire2key, true);
    g->playerstarttimer = 100;
    g->powerlevel = 3;
    g->p1->x = 400;
    g->p1->y = 480;
    if (boss* crab = findCrab(*g)) {
      if (frame == kClawsGone) crab->claw1energy = crab->claw2energy = 0;
      if (frame == kFrenzy) crab->energy = 399;
      if (frame < kFrenzy) crab->energy = std::max(crab->energy, 600.0f);  // no kill before the frenzy
    }
    if (program.paused == 0 && g->Update() == 1) {
      std::fprintf(stderr, "the run ended at frame %d\n", frame);
      status = 1;
      break;
    }
    g->Draw();
    for (const Capture& c : kCaptures) {
      if (c.frame != frame) continue;
      if (!saveShot(*shot, outDir, c.file)) status = 1;
      const boss* crab = findCrab(*g);
      std::printf("%s frame=%d boss=%d phase=%d pattern=%d energy=%.0f claws=%d,%d enemies=%zu\n", c.file.c_str(),
                  frame, crab != nullptr ? 1 : 0, crab ? crab->attackphase : 0, crab ? crab->attackpattern : 0,
                  crab ? static_cast<double>(crab->energy) : 0.0, crab ? crab->claw1energy : 0,
                  crab ? crab->claw2energy : 0, g->enemylist.size());
    }
    pf::flip();
  }
  g.reset();
  closeShotWindow(display);
  return status;
}
