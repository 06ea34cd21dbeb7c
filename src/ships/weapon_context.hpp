#pragma once
// What a ship's weapons may read and change of the running session: the
// projectile and effect lists they append to and the session's weapon clocks
// and counters. The session builds one and hands it to its ship every frame.
#include <cstdint>

#include "essentials/entity_list.hpp"

class bullet;
class missile;
class powerring;
class fireAttack;
class blood;

// Running totals of what the weapons have made since the run began, so a
// tool can tell how much a ship fired in any one frame.
struct ShotTally {
  int64_t bullets = 0;
  int64_t missiles = 0;
  int64_t beams = 0;
  int64_t rings = 0;
  int64_t fires = 0;
};

struct WeaponContext {
  EntityList<bullet>& bulletlist;
  EntityList<missile>& missilelist;
  EntityList<powerring>& powerringlist;
  EntityList<fireAttack>& firelist;
  EntityList<blood>& bloodlist;
  int& bulletTimer;
  float& bulletAngle;
  int& powerlevel;
  int& powermissiletimer;
  int& gametimer;
  int& lives;
  int& bombs;
  float& damagemultiplier;
  float& clsalpha;
  ShotTally& created;
};
