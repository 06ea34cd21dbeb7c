#pragma once
// Program-wide values: the settings row (one member per database column, named
// as the column), the achievement and unlock flags, and the pause flag.
#include <array>
#include <string>

struct Settings {
  int FPSCounter = 0;
  int music = 1;
  int sound = 1;
  int screendepth = 32;
  int screenwidth = 800;
  int screenheight = 600;
  int jBombButton = 5;
  int jfireLeftButton = 2;
  int jFireRightButton = 0;
  std::string jMoveXAxis = "joyx";
  std::string jMoveYAxis = "joyy";
  int usejoy = 0;
  float jThreshhold = 0.4f;
  int upkey = 38;
  int downkey = 40;
  int leftkey = 37;
  int rightkey = 39;
  int fire1key = 90;
  int fire2key = 88;
  int fire3key = 67;
  int ship2 = 0;
  int ship3 = 0;
  int ship4 = 0;
  int ship5 = 0;
  int ship6 = 0;
  std::string achievements = "00000000000000000000";
  int ship1perfect = 0;
  int ship2perfect = 0;
  int ship3perfect = 0;
  int ship4perfect = 0;
  int ship5perfect = 0;
  int ship6perfect = 0;
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  std::string name;
  int joystickport = 0;
};

// The ships the game has (each with its `shipN` and `shipNperfect` columns
// above; ships/ship_registry says what else each is).
constexpr int kShipCount = 6;

struct ProgramState {
  // Element i is 1 once achievement i is held (10 to 19 are stored, unused).
  std::array<int, 20> achievementFlags{};
  // Element 0 is ship 2 ... element 4 is ship 6: ship 1 is always unlocked.
  std::array<int, kShipCount - 1> shipUnlocked{};
  // 1 while the pause overlay is up.
  int paused = 0;
};

extern Settings settings;
extern ProgramState program;
