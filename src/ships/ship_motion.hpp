#pragma once
// The rules every ship shares: friction, input, speed limit, dead zone, screen
// bounds and the bubble trail; the fire buttons; the trailing tail; the glow
// and core every ship is drawn with; and the life cycle of the exhaust
// particles drawn with the ship.
#include "essentials/entity_list.hpp"

class playerbase;
class bubble;

struct ShipVelocity {
  float& x;
  float& y;
};

// One frame of ship movement. `gravity` is the ship's friction field (set to
// -0.3 and used as the step); `limitX`/`limitY` the speed limits; `timer` the
// ship's frame counter, which paces the idle bubble trail.
void moveShip(playerbase& ship, ShipVelocity vel, float& gravity, float dx, float dy, float limitX, float limitY,
              double timer, EntityList<bubble>& bubbles);

// The tilt relaxes by one degree per frame towards 0.
void relaxTilt(playerbase& ship);

// Clears the fire flags and relaxes the tilt, then reads the one fire button
// of ships with a single attack: held, it sets both flags and holds the ship
// upright.
void readSingleFireButton(playerbase& ship);

// Clears the fire flags and relaxes the tilt, then reads the two buttons of
// ships four and five: button one fires upwards, button two sideways (the
// ship turns by 90 degrees); the second wins when both are held. A ship that
// takes no input shows off instead, 100 frames of each attack in turn, which
// runs its `timer` in a 200-frame cycle.
void readTwoFireButtons(playerbase& ship, int& timer);

// Pulls the tail along: the head to the ship, every later point to the point
// before it, as that point has just moved.
void followShip(playerbase& ship);

// The soft glow round a ship (scale 1.5, additive) and its white core; they
// leave the drawing state set.
void paintGlow(float x, float y, float alpha, int r, int g, int b);
void paintCore(float x, float y);
// The ring of faint white spikes round ships four and five, turning one
// degree per frame of `timer` and pulsing with it.
void paintSpikeRing(float x, float y, int timer);
