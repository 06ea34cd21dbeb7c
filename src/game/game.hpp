#pragma once
// One run of the level: its clocks, lists and counters, the frame update with
// its fixed pass order, the level timeline, scoring, the end-of-run sequences
// and the scene drawing.
#include <array>
#include <cstdint>
#include <memory>

#include "enemies/enemybase.hpp"
#include "essentials/entity_list.hpp"
#include "fx/blood.hpp"
#include "fx/bubble.hpp"
#include "fx/explosionbase.hpp"
#include "fx/particle2D.hpp"
#include "fx/plankton.hpp"
#include "fx/text.hpp"
#include "game/achievement_logo.hpp"
#include "game/bonus.hpp"
#include "ships/bullet.hpp"
#include "ships/fire_attack.hpp"
#include "ships/missile.hpp"
#include "ships/playerbase.hpp"
#include "ships/powerring.hpp"
#include "ships/weapon_context.hpp"

class game {
 public:
  game();
  game(const game&) = delete;
  game& operator=(const game&) = delete;

  int gametimer = 0;
  std::array<float, 100> bombalpha{};
  int multiplier = 1;
  int gotperfect = 0;
  int quitnow = 0;
  int gamecompleted = 0;
  int gamefailed = 0;
  int jellycount = 0;
  int mins = 0;
  int secs = 0;
  int secsticker = 0;
  float clsalpha = 0.6f;
  float damagemultiplier = 1.0f;
  int totalpowerups = 0;
  EntityList<AchievementLogo> achievementlist;
  int playerinvincible = 0;
  int playerstarttimer = 0;
  int bosstimer = 100;
  int bossticker = 0;
  int bossdead = 0;
  int bossdeadtimer = 0;
  int bubbley = -250;
  int waterindex = 0;
  int watermod = 0;
  float bgSideScroll = 0;
  float bgSideScroll2 = -600;
  float bgSideScroll3 = 300;
  float bgSideScroll4 = -300;
  int powermissiletimer = 0;
  int powerlevel = 1;
  std::unique_ptr<playerbase> p1;
  EntityList<bonus> bonuslist;
  EntityList<missile> missilelist;
  EntityList<bullet> bulletlist;
  EntityList<enemybase> enemylist;
  EntityList<plankton> planktonlist;
  EntityList<particle2D> particlelist;
  EntityList<explosionbase> explosionlist;
  EntityList<bubble> bubblelist;
  EntityList<Text> textlist;
  EntityList<blood> bloodlist;
  EntityList<powerring> powerringlist;
  EntityList<fireAttack> firelist;
  int bulletTimer = 0;
  float bulletAngle = 0;
  int bombs = 100;
  int bombtimer = 0;
  int particleTimer = 0;
  int lives = 3;
  int64_t score = 0;
  int timeup = 0;
  int killcount = 0;
  float rockbgy1 = 0;
  float rockbgy2 = -600;
  int fadeout = 0;
  float fadealpha = 0;
  // Level previews and tests: nothing that touches the ship costs a life.
  // Only the simulator sets it.
  bool invulnerable = false;
  // What the ship's weapons have made so far in the run.
  ShotTally shotsCreated;

  // A run for ship 1 to 6; null when that ship does not exist.
  static std::unique_ptr<game> Create(int ship);
  // One frame of play; 1 when the run is over.
  int Update();
  // Advances the frame's looks, paints it when there is something to draw
  // to, and handles the pause keys and banners; always 0.
  int Draw();
  // The level timeline: spawns this frame's enemies and texts.
  int enemydata();
  // The session's lists and counters as the ship's weapons see them.
  WeaponContext& weapons() { return weapons_; }

 private:
  // Frame steps, in the order Update runs them.
  void controlShip();
  int gameOverSequence();
  int levelEndSequence();
  void firingStep();
  void bulletPass();
  void particlePass();
  void specialAttacks();
  void missilePass();
  void enemyPass();
  void explosionPass();
  void effectPasses();
  void bonusPass();
  void scrollScenery();
  void multiplierAchievements();

  void loseLife();
  // Books a kill after the enemy made its explosions. `shot` is the bullet
  // that killed it in the bullet pass (refund and removal), else null.
  void applyKill(enemybase& enemy, bullet* shot);
  void hitFlash(float x, float y);
  void collectBonus(bonus& pickup);
  void addText(float x, float y, int rising, float size, const std::string& message, float life);

  // Once per frame, drawn or not: what the frame's looks change.
  void advanceLooks();
  // Scene drawing layers, back to front; they change nothing.
  void paintScene() const;
  void drawRockWalls() const;
  void drawWaterAndRock() const;
  void drawObjects() const;
  void drawHud() const;
  void drawSpecialEnergy() const;
  // While paused: Escape resumes, Q quits the run.
  void readPauseKeys();
  // Darkens the frame and shows the pause texts.
  void drawPauseOverlay() const;
  void achievementPass();

  WeaponContext weapons_;
};
