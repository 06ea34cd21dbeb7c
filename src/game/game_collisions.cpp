// The collision passes (missiles, then each enemy against bullets, the ship,
// the power ring and fire), the loss of a life and the kill procedure.
#include <cmath>

#include "essentials/assets.hpp"
#include "essentials/int32.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "fx/bigexplosion.hpp"
#include "fx/explosion.hpp"
#include "fx/tpoint.hpp"
#include "game/game.hpp"

void game::missilePass() {
  missilelist.forEach([&](missile& m) {
    m.addeffects(bubblelist);
    // With nothing but enemy bullets about, the missile heads up the screen.
    int finished;
    if (!enemylist.any([](enemybase& e) { return e.isbullet != 1; })) {
      finished = m.Update(400, -100);
    } else {
      float best = 100000;
      float tx = 0, ty = 0;
      enemylist.forEach([&](enemybase& e) {
        if (e.isbullet != 0) return;
        const float rank = std::fabs(aimProjection(m.x, m.y, e.x, e.y));
        if (rank < best) {
          best = rank;
          tx = e.x;
          ty = e.y;
        }
      });
      finished = m.Update(static_cast<int>(tx), static_cast<int>(ty));
    }
    if (finished == 1) {
      missilelist.remove(&m);
      const int r = Rand(200, 255);
      const int b = Rand(80, 120);
      explosionlist.add(explosion::Create(m.x, m.y, r, 0, b, 16, 0.3f, 1, 0, 0, 0));
    }
    // A missile that hit keeps testing the remaining enemies this frame.
    enemylist.forEach([&](enemybase& e) {
      if (!(e.y > static_cast<float>(e.attackable)) || e.isbullet != 0) return;
      if (e.checkcollisions(m.collrect) != 1) return;
      if (e.damage(m.damage * damagemultiplier, bubblelist, enemylist, explosionlist) == 1) {
        e.makeexplosions(explosionlist);
        missilelist.remove(&m);
        applyKill(e, nullptr);
      } else {
        hitFlash(m.x, m.y);
        missilelist.remove(&m);
        playSfx(assets.sfxZap2, 0.3f, 1.0f);
      }
    });
  });
}

void game::enemyPass() {
  enemylist.forEach([&](enemybase& e) {
    // An enemy that left the field still takes part in this frame's collisions.
    if (e.Update(*p1, enemylist) == 1) enemylist.remove(&e);
    e.addeffects(bubblelist, bloodlist);
    e.dodge(enemylist);

    if (e.y > static_cast<float>(e.attackable) && e.isbullet == 0) {
      bulletlist.forEach([&](bullet& b) {
        if (e.checkcollisions(b.collrect) != 1) return;
        // A dead enemy hit again in the same frame reports another kill.
        if (e.damage(b.damage * damagemultiplier, bubblelist, enemylist, explosionlist) == 1) {
          e.makeexplosions(explosionlist);
          applyKill(e, &b);
        } else {
          hitFlash(b.X, b.Y);
          bulletlist.remove(&b);
          playSfx(assets.sfxZap2, 0.3f, 1.0f);
        }
      });
    }

    if (!invulnerable && e.checkcollisions(p1->collrect) == 1 && playerstarttimer > 60 && lives >= 0 &&
        playerinvincible == 0) {
      loseLife();
    }

    if (!powerringlist.empty() && circleHitsRect(e.collrect, p1->x, p1->y, 50) == 1) {
      if (e.damage(0.5f, bubblelist, enemylist, explosionlist) == 1 || e.isbullet == 1) {
        e.makeexplosions(explosionlist);
        applyKill(e, nullptr);
      } else {
        hitFlash(e.x, e.y);
        playSfx(assets.sfxZap2, 0.3f, 1.0f);
      }
    }

    firelist.forEach([&](fireAttack& f) {
      f.particles.forEach([&](tpoint& flame) {
        if (e.checkcollisions(Rect{flame.x - 30, flame.y - 30, 60, 60}) != 1) return;
        if (e.damage(5, bubblelist, enemylist, explosionlist) == 1) {
          e.makeexplosions(explosionlist);
          if (e.isbullet != 1) f.particles.remove(&flame);
          applyKill(e, nullptr);
        } else {
          if (e.isbullet != 1) {
            hitFlash(e.x, e.y);
            f.particles.remove(&flame);
          }
          playSfx(assets.sfxZap2, 0.3f, 1.0f);
        }
      });
    });
  });
}

void game::hitFlash(float x, float y) { explosionlist.add(explosion::Create(x, y, 255, 0, 0, 16, 0.4f, 1, 0, 0, 0)); }

void game::applyKill(enemybase& enemy, bullet* shot) {
  if (enemy.isboss == 1) {
    enemylist.forEach([&](enemybase& other) {
      if (&other == &enemy || other.isbullet != 1) return;
      other.makeexplosions(explosionlist);
      enemylist.remove(&other);
    });
  }
  if (enemy.jelly == 1) jellycount += 1;
  enemylist.remove(&enemy);
  killcount += 1;
  score += wrap32(static_cast<int64_t>(enemy.score) + static_cast<int64_t>(killcount) * multiplier);
  if (shot != nullptr) {
    if (bombs < 100 && shot->isparticlebeam == 0) bombs += 1;
    bulletlist.remove(shot);
  }
  playSfx(assets.sfxZap, 0.4f, 1.0f);
  if (killcount % 50 == 0) bonuslist.add(bonus::Create(enemy.x, enemy.y, powerlevel < 5 ? 0 : 1));
}

void game::loseLife() {
  playerinvincible = 1;
  playerstarttimer = 0;
  const float px = p1->x;
  const float py = p1->y;
  explosionlist.add(explosion::Create(px, py, 255, 0, 0, 16, 3.0f, 0, 0, 0, 1));
  const int ox = Rand(-10, 10);
  explosionlist.add(explosion::Create(px + static_cast<float>(ox), py, 255, 0, 0, 16, 3.0f, 0, 0, 0, 1));
  const int oy = Rand(-10, 10);
  explosionlist.add(explosion::Create(px, py + static_cast<float>(oy), 255, 0, 0, 16, 3.0f, 0, 0, 0, 1));
  auto chain = bigexplosion::Create(px, py, 255, 255, 255, 16, 0.5f, 0, 0, 0, 0);
  for (int i = 0; i < 10; ++i) {
    const int jx = Rand(-50, 50);
    const int jy = Rand(-50, 50);
    chain->pointlist.add(tpoint::Create(px + static_cast<float>(jx), py + static_cast<float>(jy) + 10.0f * i));
  }
  explosionlist.add(std::move(chain));

  lives -= 1;
  p1->dying = 1;
  addText(px, py, 1, 0.5f, "power down", 3);
  p1->x = 400;
  p1->y = 710;
  multiplier = 1;
  powerlevel -= 1;
  if (powerlevel < 1) powerlevel = 1;
  playSfx(assets.sfxExplosion, 0.4f, 1.0f);
  p1->lifeLost();
}

void game::collectBonus(bonus& pickup) {
  playSfx(assets.sfxYes, 0.4f, 1.0f);
  if (pickup.btype == 0) {
    powerlevel += 1;
    totalpowerups += 1;
    if (powerlevel <= 5) addText(p1->x, p1->y, 1, 0.5f, "power up", 3);
    if (powerlevel > 5) powerlevel = 5;
    p1->powerUpCollected();
  } else {
    multiplier += 1;
    score += wrap32(2000LL * multiplier);
    addText(p1->x, p1->y, 1, 0.5f, "multiplier +1", 3);
  }
  bonuslist.remove(&pickup);
}

void game::multiplierAchievements() {
  const int index = multiplier == 20 ? 5 : multiplier == 30 ? 6 : multiplier == 40 ? 7 : -1;
  if (index < 0) return;
  if (auto banner = awardAchievement(index)) achievementlist.add(std::move(banner));
}
