#pragma once
// The scores table: one row per finished game.
#include <cstdint>

// Appends a row; the outcome is not reported (a lost score row never stops play).
void insertScore(int64_t score, int level, int ship);

struct ShipScoreSummary {
  int played = 0;
  int64_t highest = 0;
  int64_t average = 0;  // truncated toward zero
};

// Games played, highest and average score of one ship (1 to 6); all 0 when
// the ship has no games or the table cannot be read.
ShipScoreSummary shipScoreSummary(int ship);
