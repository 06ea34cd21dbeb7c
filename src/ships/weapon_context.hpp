#pragma once
// What a ship's weapons may read and change of the running session: the
// projectile and effect lists they append to and the session's weapon clocks
// and counters. The session builds one and hands it to its ship every frame.
#include "essentials/entity_list.hpp"

class bullet;
class missile;
class powerring;
class fireAttack;
class blood;

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
};
