#pragma once
// The title menu: the program's front end and outer loop. Each Update draws
// the animated underwater backdrop, runs the current screen, reads the shared
// navigation input, draws the glowing cursor and, once a ship is chosen, runs
// a whole run inside the same call and books its aftermath.
#include <array>
#include <memory>
#include <string>

#include "essentials/entity_list.hpp"
#include "fx/blood.hpp"
#include "fx/bubble.hpp"
#include "fx/plankton.hpp"
#include "game/achievement_logo.hpp"
#include "persist/database.hpp"
#include "persist/replay_file.hpp"
#include "persist/tokenizer.hpp"
#include "ships/bullet.hpp"
#include "ships/fire_attack.hpp"
#include "ships/missile.hpp"
#include "ships/playerbase.hpp"
#include "ships/powerring.hpp"
#include "ships/ship_registry.hpp"

class game;

class menu {
 public:
  int selectedItem = 1;
  int quit = 0;
  int cursorY = 80;
  int cursormax = 5;
  std::string menustate = "main";
  int begingame = 0;
  int joytimer = 0;
  int joyinputstate = 1;
  int joyinputtimer = 0;
  int timer = 0;
  int buttonpressed = 0;
  int drawcursor = 1;
  int playoffset = 0;
  int playmoving = 0, playleft = 0, playmovecount = 0, playright = 0;
  EntityList<bubble> bubblelist;
  EntityList<bullet> bulletlist;
  EntityList<powerring> powerringlist;
  EntityList<blood> bloodlist;
  EntityList<fireAttack> firelist;
  EntityList<missile> missilelist;
  int bullettimer = 0;
  int playspecialtimer = 0;
  EntityList<plankton> planktonlist;
  std::array<float, 10> wobblearr{};
  std::string titlestring = "Title";
  int achselected = 1, achrow = 1;
  // The online best lists of the ships (index ship - 1), fetched when the
  // scores screen opens.
  std::array<Tokenizer, kShipCount> scores;
  EntityList<AchievementLogo> achievementlist;
  // Local statistics per ship (index ship - 1), refreshed with the lists.
  std::array<int, kShipCount> gamesplayed{};
  std::array<int64_t, kShipCount> bestScores{};
  std::array<int64_t, kShipCount> averageScores{};
  // One demonstration ship of each type, in the order of the ship registry.
  std::array<std::unique_ptr<playerbase>, kShipCount> playerarray;
  int watermod = 0, waterindex = 0;
  float clsalpha = 0.6f;
  float rockbgy1 = 0, rockbgy2 = -600;

  static std::unique_ptr<menu> Create();
  // One frame; 1 when the program is to end.
  int Update();

  // The bookkeeping after a run, in order: the score row, the banners carried
  // over, unlocks and perfect flags, the after-run achievements, play time,
  // the settings save, the music and the state reset. Returns the number of
  // the ship whose unlock screen is to be shown, 0 for none.
  int bookAftermath(game& g);
  // The outcome of the last settings save; a failure ends the menu.
  const DbResult& lastSave() const { return lastSave_; }

 private:
  void drawBackdrop();
  void readNavigation();
  void moveSelection(int step);
  void drawCursor();
  // Once per frame, before the effects are drawn: the flames' flicker.
  void advanceLooks();
  void runEffects();
  void showBanners();

  void screenMain();
  void screenPlay();
  // The registry entry of the ship under the carousel's pointer; null at a
  // "back" stop.
  const ShipEntry* carouselShip() const;
  void drawShipPanel(const playerbase& ship, const ShipEntry& entry);
  void drawLockedPanel();
  // The six demonstration ships flying in the carousel at y 550, and its
  // left and right moves between the two "back" stops.
  void flyCarousel();
  void moveCarousel();
  // "back" at both ends of the carousel, one of them under the pointer.
  void drawBackStops();

  void openScores();
  void screenStats();
  void drawShipStats(const ShipEntry& entry);
  // The ship's best recorded run here, or the world's best from the score
  // server, in the replay theatre; a notice when there is none.
  void watchBestRun(const ShipEntry& entry);
  void watchWorldBestRun(const ShipEntry& entry);
  void watchInMenu(const ReplayRead& read, const char* missing);

  void screenAchievements();
  void moveAchievement(int step);

  void screenSetup();
  void screenKeys();
  void screenJoysticks();
  void toggleMusic();
  void switchDisplayMode();
  // Writes the settings row; a failure ends the program (lastSave()).
  void saveNow();

  void playGame();

  DbResult lastSave_;
  // The demonstration ship whose fire attacks are burning in `firelist`.
  playerbase* fireShip_ = nullptr;
  // A line the scores screen shows for a while (no run to watch).
  std::string scoresNotice_;
  int scoresNoticeFrames_ = 0;
  // The name entry and submission (the score, then the run's replay) after
  // a run, then the name saved.
  void submitRun(const game& g, const Replay& replay);
};
