#pragma once
// What a ship's demonstration on the selection screen fires into: the menu's
// effect lists, its backdrop fade and its two clocks. Each ship shows off its
// weapons in its own `demonstrate`, beside the weapons themselves, with the
// projectiles the game uses; the menu moves and draws them.
#include "essentials/entity_list.hpp"
#include "ships/shots.hpp"

class bullet;
class missile;
class powerring;
class blood;
class fireAttack;
class playerbase;

struct DemoStage {
  EntityList<bullet>& bulletlist;
  EntityList<missile>& missilelist;
  EntityList<powerring>& powerringlist;
  EntityList<blood>& bloodlist;
  EntityList<fireAttack>& firelist;
  float& clsalpha;
  // The ship the fire attacks part around: the one that started them.
  playerbase*& fireShip;
  int bullettimer;       // grows by 5 a frame
  int playspecialtimer;  // counts 0 to 249 and starts again
  int timer;             // the menu's frame count

  // A volley on the bullet clock: a period of 40 fires every 8th frame.
  bool every(int period) const { return bullettimer % period == 0; }
  // The special shows from frame 200 to 249 of its 250-frame cycle.
  bool specialWindow() const { return playspecialtimer >= 200 && playspecialtimer < 250; }

  // A glow-sprite shot into the bullet list.
  void shoot(float x, float y, float angle, float speed, const ShotLook& look, float damage = 1);
  // A fire attack that parts around `ship`.
  void startFire(playerbase& ship, int bits);
};
