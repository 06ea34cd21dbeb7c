#include "ships/playerbase.hpp"

#include "essentials/settings.hpp"

playerbase::playerbase() : x(static_cast<float>(settings.screenwidth / 2)) {}

void playerbase::describe(int type, int red, int green, int blue, const ShipTexts& texts) {
  playertype = type;
  collrect = Rect{};
  r = red;
  g = green;
  b = blue;
  Name = texts.Name;
  weaponstrength = texts.weaponstrength;
  specialstrength = texts.specialstrength;
  speed = texts.speed;
  attack1 = texts.attack1;
  attack2 = texts.attack2;
  attack3 = texts.attack3;
}
