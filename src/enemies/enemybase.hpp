#pragma once
// The base of every hostile thing on the field: creatures, the boss and the
// enemies' own bullets. The enemy decides how it moves, where it can be hit,
// which effects it leaves and how it dies; the session decides when it is hit
// and removes it.
#include "essentials/entity_list.hpp"
#include "essentials/geometry.hpp"
#include "essentials/recycled.hpp"

class playerbase;
class bubble;
class blood;
class explosionbase;

class enemybase : public Recycled {
 public:
  virtual ~enemybase();

  int score = 0;
  float x = 0;
  float y = 0;
  Rect collrect;
  // Dead once this is no longer above 0.
  float energy = 1.0f;
  // Enemy projectiles: never hit by player shots, destroyed when the boss dies.
  int isbullet = 0;
  int isboss = 0;
  int jelly = 0;
  // Player bullets and missiles reach the enemy only while its y is greater
  // than this (below this line on screen).
  int attackable = 5;

  // One frame of motion; may append shots to enemylist. 1 when it left the field.
  virtual int Update(playerbase& p1, EntityList<enemybase>& enemylist) = 0;
  // Draws the enemy as it stands; it changes nothing.
  virtual int paint() const = 0;
  // Advances what the enemy looks like (a look that turns every frame, a
  // point the next Update reads), once per frame after the session's update
  // and before any drawing, whether or not the frame is drawn.
  virtual void updateLooks() {}
  // 1 when the rectangle touches the hit area.
  virtual int checkcollisions(const Rect& r);
  // Ambient effects left every frame.
  virtual int addeffects(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist);
  virtual int makeexplosions(EntityList<explosionbase>& explosionlist);
  // Takes a hit; 1 when dead (on every hit after the killing one too).
  virtual int damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>& enemylist,
                     EntityList<explosionbase>& explosionlist);
  // An evasive step that may look at the other enemies.
  virtual int dodge(EntityList<enemybase>& enemylist);
  // A backdrop the anemone can paint; the session's drawing never calls it.
  virtual int paintBG() { return 0; }

 protected:
  // When the energy is spent, releases the 20 death bubbles around (x, y).
  // Returns 1 when dead.
  int releaseBubblesIfDead(EntityList<bubble>& bubblelist);
  // One death bubble at a random whole-pixel point of the box (bounds
  // truncated, inclusive) with a random life from 1 to 2.
  static void releaseDeathBubble(EntityList<bubble>& bubblelist, float left, float right, float top, float bottom);
};
