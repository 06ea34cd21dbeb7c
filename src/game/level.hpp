#pragma once
// The level's own record: its titles, its music and the frames the rest of
// the session keys on. Which creature comes when is its timeline,
// `game::enemydata` (game_timeline.cpp), which reads the same record.
#include "essentials/assets.hpp"

struct LevelRecord {
  const char* title;
  const char* subtitle;
  int titleFrame;
  int subtitleFrame;
  // Shots leave trail particles before this frame.
  int trailsEnd;
  // The HUD shows the boss clock from this frame on.
  int bossClockShown;
  int warningFrame;    // "WARNING!"
  int approachFrame;   // "BOSS APPROACHING!"
  int bossMusicFrame;  // the level's music gives way to the boss's
  // The crab arrives; its clock runs from the frame after.
  int bossArrival;
  SoundSlot GameAssets::*music;
  SoundSlot GameAssets::*bossMusic;
};

inline constexpr LevelRecord kNeonOcean{
    .title = "Level 1",
    .subtitle = "Neon Ocean",
    .titleFrame = 60,
    .subtitleFrame = 90,
    .trailsEnd = 11000,
    .bossClockShown = 10600,
    .warningFrame = 10800,
    .approachFrame = 10850,
    .bossMusicFrame = 10900,
    .bossArrival = 11100,
    .music = &GameAssets::musicLevel,
    .bossMusic = &GameAssets::musicBoss,
};

// Stops whichever of the level's tracks plays (a run or a replay that ends).
void stopLevelMusic();
