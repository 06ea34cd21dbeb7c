#pragma once
// The base of every ship: what the session, the selection screen and the
// collision code need, and the operations each ship type supplies.
#include <memory>
#include <string>

#include "essentials/entity_list.hpp"
#include "essentials/geometry.hpp"
#include "ships/tailpoint.hpp"
#include "ships/weapon_context.hpp"

class bubble;
struct DemoStage;

// What the selection screen shows of a ship, in the order of its panel.
struct ShipTexts {
  const char* Name;
  const char* weaponstrength;
  const char* specialstrength;
  const char* speed;
  const char* attack1;
  const char* attack2;
  const char* attack3;
};

// Which input triggered a special attack (they can both trigger in one frame).
enum class SpecialTrigger { Key, Joystick };

class playerbase {
 public:
  playerbase();
  virtual ~playerbase() = default;

  std::string Name;
  std::string weaponstrength;
  std::string specialstrength;
  std::string attack1;
  std::string attack2;
  std::string attack3;
  std::string speed;
  float x;
  float y = 700;
  Rect collrect;
  int dying = 1;
  int fire1 = 0;
  int fire2 = 0;
  float rotation = 0;
  int playertype = 0;
  int r = 0, g = 0, b = 0;
  EntityList<TailPoint> tail;
  int caninput = 1;

  // Sets what makes a ship type itself: its number, its colour and its texts.
  void describe(int type, int red, int green, int blue, const ShipTexts& texts);

  // One frame of movement and animation; dx, dy are input accelerations.
  virtual int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) = 0;
  virtual int paint() const = 0;

  // ---- the firing step, run by the session every frame
  // Patterns with their own cadence (ships five and six), while a button is held.
  virtual void fireOwnPatterns(WeaponContext&) {}
  // The main guns and power-level extras, on every 8th frame while a button is held.
  virtual void fireMainGuns(WeaponContext&) {}
  // Weapons that fire on their own clock whether or not a button is held.
  virtual void fireAutomatic(WeaponContext&) {}
  // The special attack, once per frame and trigger while it is held.
  virtual void special(WeaponContext&, SpecialTrigger) {}
  // Runs in the session's bullet pass after the update of each bullet, also
  // of one that has just left the field and been removed.
  virtual void afterBulletUpdate(bullet&, WeaponContext&) {}

  // ---- events of the run the ship may answer
  // The ship lost a life.
  virtual void lifeLost() {}
  // The ship collected a power-up ("P") pick-up.
  virtual void powerUpCollected() {}

  // ---- the selection screen
  // Once, when the ship joins the selection carousel.
  virtual void joinCarousel() {}
  // One frame of showing off its weapons while the ship is selected.
  virtual void demonstrate(DemoStage&) {}
};
