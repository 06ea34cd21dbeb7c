// Creating a run and its frame update, in the game's fixed step order.
#include "game/game.hpp"

#include "essentials/assets.hpp"
#include "essentials/input_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "game/level.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "ships/ship_registry.hpp"

game::game()
    : weapons_{bulletlist,  missilelist, powerringlist,    firelist,          bloodlist,
               bulletTimer, bulletAngle, powerlevel,       powermissiletimer, gametimer,
               lives,       bombs,       damagemultiplier, clsalpha,          shotsCreated} {}

std::unique_ptr<game> game::Create(int ship) {
  auto g = std::make_unique<game>();
  for (int i = 0; i <= 60; ++i) {
    const int y = Rand(0, settings.screenheight);
    const int x = Rand(150, settings.screenwidth - 150);
    plankton* p = g->planktonlist.add(plankton::Create(static_cast<float>(x), static_cast<float>(y)));
    if (i % 2 == 0) p->big = 0;
  }
  g->p1 = createShip(ship);
  if (!g->p1) return nullptr;
  if (settings.music == 1) startMusic(assets.*kNeonOcean.music);
  for (int i = 0; i < 100; ++i) g->bombalpha[static_cast<size_t>(i)] = static_cast<float>(i * 3.5);
  return g;
}

int game::Update() {
  if (pf::keyHit(pf::vk::kEscape) > 0 || pf::appSuspended()) program.paused = 1;
  if (quitnow == 1) return 1;

  gametimer += 1;
  secsticker += 1;
  if (secsticker % 60 == 0) {
    secs += 1;
    if (secs == 60) {
      mins += 1;
      secs = 0;
    }
  }

  // The boss clock runs from the frame after the boss arrives.
  if (bossdead == 0 && gametimer > kNeonOcean.bossArrival) {
    bossticker += 1;
    if (bossticker % 60 == 0) {
      bosstimer -= 1;
      if (bosstimer == 0) {
        enemylist.forEach([&](enemybase& e) {
          e.makeexplosions(explosionlist);
          enemylist.remove(&e);
        });
        timeup = 1;
        bossdead = 1;
      }
    }
  }

  enemydata();

  rockbgy1 += 1;
  rockbgy2 += 1;
  if (rockbgy1 >= 600) rockbgy1 = rockbgy2 - 600;
  if (rockbgy2 >= 600) rockbgy2 = rockbgy1 - 600;

  planktonlist.forEach([](plankton& p) { p.update(); });

  controlShip();
  if (lives < 0) {
    if (gameOverSequence() == 1) return 1;
  }
  if (bossdead == 1) {
    bossdeadtimer += 1;
    if (levelEndSequence() == 1) return 1;
  }

  // The weapons' clocks advance once per frame; the firing step reads them.
  bulletTimer += 5;
  bulletAngle += 5;
  if (powerlevel < 1) powerlevel = 1;
  if (lives >= 0) firingStep();

  bulletPass();
  particleTimer += 1;
  particlePass();

  bombtimer += 1;
  if (bombtimer == 60) {
    bombtimer = 0;
    bombs += 1;
  }
  if (bombs > 100) bombs = 100;
  damagemultiplier = 1;
  specialAttacks();
  if (damagemultiplier == 1 && clsalpha < 0.6f) clsalpha += 0.025f;

  powermissiletimer += 1;
  p1->fireAutomatic(weapons_);
  missilePass();
  enemyPass();
  explosionPass();
  effectPasses();
  bonusPass();
  scrollScenery();
  multiplierAchievements();
  return 0;
}

void game::controlShip() {
  float dx = 0, dy = 0;
  playerstarttimer += 1;
  if (playerstarttimer < 60) dy = -0.5f;  // the ship rises into view by itself
  if (playerstarttimer < 120) {
    playerinvincible = 1;
  } else {
    playerinvincible = 0;
    p1->dying = 0;
  }
  if (lives < 0) p1->dying = 1;
  if (playerstarttimer > 60) {
    if (pf::keyDown(settings.leftkey)) {
      dx = -0.5f;
    } else if (pf::keyDown(settings.rightkey)) {
      dx = 0.5f;
    }
    if (pf::keyDown(settings.upkey)) {
      dy = -0.5f;
    } else if (pf::keyDown(settings.downkey)) {
      dy = 0.5f;
    }
    // A joystick deflection overrides the keys; a centred stick leaves them.
    if (settings.usejoy == 1) {
      if (joyMoveX() < -settings.jThreshhold) {
        dx = -0.5f;
      } else if (joyMoveX() > settings.jThreshhold) {
        dx = 0.5f;
      }
      if (joyMoveY() < -settings.jThreshhold) {
        dy = -0.5f;
      } else if (joyMoveY() > settings.jThreshhold) {
        dy = 0.5f;
      }
    }
  }
  if (lives >= 0) p1->Update(dx, dy, 0, bubblelist);
}

void game::firingStep() {
  if (p1->fire1 != 1 && p1->fire2 != 1) return;
  if (bulletAngle > 359) bulletAngle = 0;
  p1->fireOwnPatterns(weapons_);
  if (bulletTimer % 40 == 0) {
    playSfx(assets.sfxPshot, 0.15f, 1.0f);
    p1->fireMainGuns(weapons_);
  }
}

void game::bulletPass() {
  bulletlist.forEach([&](bullet& b) {
    // A bullet that left the field is removed, and the rest of its step
    // still runs: the ship's rule (ship three's split) and its trail.
    if (b.Update() == 1) bulletlist.remove(&b);
    p1->afterBulletUpdate(b, weapons_);
    if (gametimer < kNeonOcean.trailsEnd && particleTimer % 4 == 0) {
      for (int i = 0; i < 2; ++i) {
        const double vx = Rnd(-1.5, 1.5);
        const double vy = Rnd(-10, 0);
        const double alpha = Rnd(0.6, 0.9);
        particlelist.add(particle2D::Create(b.X, b.Y, static_cast<float>(vx), static_cast<float>(vy), 0.1f,
                                            static_cast<float>(alpha), 4, *b.image, 0.1f, 0.1f, b.r, b.g, b.b, 0));
      }
    }
  });
}

void game::particlePass() {
  particlelist.forEach([&](particle2D& p) {
    p.update();
    p.alpha -= 0.02f;
    if (p.y > 750 || p.alpha < 0) particlelist.remove(&p);
  });
}

void game::specialAttacks() {
  const auto trigger = [&](SpecialTrigger how) {
    playSfx(assets.sfxMissile, 0.1f, 1.0f);
    playSfx(assets.sfxZap, 0.2f, 1.0f);
    p1->special(weapons_, how);
  };
  // Key and joystick button are separate triggers: both can fire in one frame.
  if (pf::keyDown(settings.fire3key) && p1->dying == 0 && bombs > 0) trigger(SpecialTrigger::Key);
  if (settings.usejoy == 1 && pf::joyDown(settings.jBombButton, 0) && p1->dying == 0 && bombs > 0) {
    trigger(SpecialTrigger::Joystick);
  }
}

void game::explosionPass() {
  int bossExplosions = 0;
  explosionlist.forEach([&](explosionbase& e) {
    // Only one boss explosion at a time; a later one still runs this frame.
    if (e.isboss == 1 && ++bossExplosions >= 2) explosionlist.remove(&e);
    if (e.Update(bubblelist, bloodlist) == 1) explosionlist.remove(&e);
  });
}

void game::effectPasses() {
  bubblelist.forEach([&](bubble& b) {
    if (b.UpdateUnseen() == 1) bubblelist.remove(&b);
  });
  textlist.forEach([&](Text& t) {
    if (t.update() == 1) textlist.remove(&t);
  });
  bloodlist.forEach([&](blood& b) {
    if (b.Update(bubblelist) == 1) bloodlist.remove(&b);
  });
  powerringlist.forEach([&](powerring& r) {
    if (r.Update(static_cast<float>(gametimer)) == 1) powerringlist.remove(&r);
  });
  firelist.forEach([&](fireAttack& f) {
    if (f.Update(*p1) == 1) firelist.remove(&f);
  });
}

void game::bonusPass() {
  bonuslist.forEach([&](bonus& b) {
    if (b.checkcollisions(p1->collrect) == 1) collectBonus(b);
    // A collected pick-up is still updated once in this frame.
    if (b.Update(explosionlist) == 1) bonuslist.remove(&b);
  });
}

void game::scrollScenery() {
  float* layers[] = {&bgSideScroll, &bgSideScroll2, &bgSideScroll3, &bgSideScroll4};
  for (float* layer : layers) *layer += 0.25f;
  for (float* layer : layers) {
    if (*layer > 600) *layer = -600;
  }
  for (float& offset : assets.rockSliceOffsets) offset += 1;
  watermod += 1;
  if (watermod % 4 == 0) waterindex += 1;
  if (waterindex == 32) waterindex = 0;
}

void game::addText(float x, float y, int rising, float size, const std::string& message, float life) {
  textlist.add(Text::Create(x, y, rising, size, message, nullptr, life));
}
