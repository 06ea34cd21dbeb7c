// The ship selection, the achievements grid and the setup screens, driven
// through menu frames on the headless backend.
#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "essentials/assets.hpp"
#include "essentials/settings.hpp"
#include "frontend/menu.hpp"
#include "persist/database.hpp"
#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "scenario_support.hpp"
#include "ships/standard_ship.hpp"
#include "temp_dir.hpp"

namespace {

class FrontendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    newRun();
    display = static_cast<pf::HeadlessBackend*>(pf::displayBackend());
    ASSERT_TRUE(openDatabase(path) && createTables());
    m = menu::Create();
  }
  void TearDown() override {
    display->setFrameHook(nullptr);
    display->refuseDepth(-1);
    settingsDb.close();
  }

  void press(int code) {
    pf::inputState().keyPressed(code);
    m->Update();
    pf::inputState().keyReleased(code);
  }
  // Confirms on this frame; the screen acts on the next.
  void confirm() {
    press(pf::vk::kReturn);
    m->Update();
  }
  void openSetupEntry(int entry) {
    m->menustate = "setup";
    m->selectedItem = entry;
    m->Update();
    confirm();
  }

  // Texts drawn during one menu frame.
  std::vector<std::string> textsOfFrame() {
    display->clearCalls();
    display->setRecording(true);
    m->Update();
    display->setRecording(false);
    std::vector<std::string> texts;
    for (const pf::DrawCall& c : display->calls()) {
      if (c.kind == pf::DrawCall::Kind::Text) texts.push_back(c.text);
    }
    return texts;
  }
  static bool has(const std::vector<std::string>& texts, const std::string& t) {
    return std::find(texts.begin(), texts.end(), t) != texts.end();
  }

  int stored(const std::string& column) {
    SQLite::Database db(path);
    return db.execAndGet("SELECT " + column + " FROM setupData").getInt();
  }

  // Feeds key events whenever the program waits for a key or flips: one
  // step of the script per call. A prompt is drawn and flipped before its
  // wait starts, so each prompt's script begins with a step for that flip.
  // A script that runs out while a wait goes on ends it with a close request
  // instead of hanging the test.
  void scriptKeys(std::deque<std::function<void()>> steps) {
    script = std::move(steps);
    display->setFrameHook([this] {
      if (script.empty()) {
        if (++idleCalls > 1000) pf::inputState().requestClose();
        return;
      }
      auto step = std::move(script.front());
      script.pop_front();
      step();
    });
  }
  static std::function<void()> down(int code) {
    return [code] { pf::inputState().keyPressed(code); };
  }
  static std::function<void()> up(int code) {
    return [code] { pf::inputState().keyReleased(code); };
  }

  // Selects ship `number`, unlocked, and runs one frame in which the clocks
  // reach the given values.
  playerbase& selectShip(int number, int bullettimer, int specialtimer) {
    playerbase& s = *m->playerarray[static_cast<size_t>(number - 1)];
    int* unlock[] = {&settings.ship2, &settings.ship3, &settings.ship4, &settings.ship5, &settings.ship6};
    if (number >= 2) *unlock[number - 2] = 1;
    m->menustate = "play";
    m->playoffset = -100 * number;
    m->timer = 100;  // no backdrop cloud on the next frame
    frameAt(bullettimer, specialtimer);
    return s;
  }
  void frameAt(int bullettimer, int specialtimer) {
    m->bulletlist.clear();
    m->missilelist.clear();
    m->powerringlist.clear();
    m->bloodlist.clear();
    m->firelist.clear();
    m->bullettimer = bullettimer - 5;
    m->playspecialtimer = specialtimer - 1;
    m->Update();
  }

  pf::HeadlessBackend* display = nullptr;
  TempDir dir;
  std::string path = dir.file("VE4R.dtb");
  std::unique_ptr<menu> m;
  static std::function<void()> flipped() {
    return [] {};
  }
  // The steps of one prompt answered by a press and release of the key.
  static void answer(std::deque<std::function<void()>>& steps, int code) {
    steps.push_back(flipped());
    steps.push_back(down(code));
    steps.push_back(up(code));
  }
  static void answer(std::deque<std::function<void()>>& steps, std::initializer_list<int> codes) {
    for (const int code : codes) answer(steps, code);
  }

  std::deque<std::function<void()>> script;
  int idleCalls = 0;
};

}  // namespace

TEST_F(FrontendTest, ShipOneStartsAlwaysOtherShipsOnlyOnceUnlocked) {
  m->menustate = "play";
  m->playoffset = -200;
  const auto locked = textsOfFrame();
  EXPECT_TRUE(has(locked, "Ship: ??????"));
  EXPECT_TRUE(has(locked, "speed: ??????"));
  EXPECT_TRUE(std::none_of(locked.begin(), locked.end(), [](const std::string& t) { return t == "Controls"; }));
  confirm();
  EXPECT_EQ(m->begingame, 0);
  EXPECT_EQ(m->menustate, "play");

  settings.ship2 = 1;
  m->Update();
  EXPECT_TRUE(has(textsOfFrame(), "Controls"));
  // Confirming starts the run inside the frame; Escape and Q held end a run
  // at once, and the menu is back on the title afterwards. Return tapped on
  // every frame confirms the name entry after each run.
  display->setFrameHook([] {
    pf::inputState().keyPressed(pf::vk::kReturn);
    pf::inputState().keyReleased(pf::vk::kReturn);
  });
  pf::inputState().keyPressed(pf::vk::kReturn);
  m->Update();
  pf::inputState().keyPressed(pf::vk::kEscape);
  pf::inputState().keyPressed(pf::vk::kQ);
  m->Update();
  EXPECT_EQ(m->menustate, "main");
  EXPECT_EQ(m->begingame, 0);
  pf::inputState().keyReleased(pf::vk::kEscape);
  pf::inputState().keyReleased(pf::vk::kQ);

  // Ship one needs no unlock: its run is played and booked.
  settings.ship2 = 0;
  m->menustate = "play";
  m->playoffset = -100;
  pf::inputState().keyPressed(pf::vk::kReturn);
  m->Update();
  pf::inputState().keyPressed(pf::vk::kEscape);
  pf::inputState().keyPressed(pf::vk::kQ);
  m->Update();
  EXPECT_EQ(m->menustate, "main");
  SQLite::Database db(path);
  EXPECT_EQ(db.execAndGet("SELECT count(*) FROM scores WHERE perfect=1").getInt(), 1);
}

TEST_F(FrontendTest, PanelShowsTheCurrentBindingsAndShipOneDemonstratesBothClocks) {
  settings.fire1key = pf::vk::kSpace;
  m->menustate = "play";
  m->playoffset = -100;
  const auto texts = textsOfFrame();
  EXPECT_TRUE(has(texts, "Ship: particle bird"));
  EXPECT_TRUE(has(texts, "Space: shoot left"));
  EXPECT_TRUE(has(texts, "Space + X: Shoot straight"));
  EXPECT_TRUE(has(texts, "C: super missiles"));

  // Volleys every 8 frames (bullettimer grows by 5, period 40): six bullets.
  m->bulletlist.clear();
  m->missilelist.clear();
  m->bullettimer = 35;  // the next frame makes it 40
  m->playspecialtimer = 0;
  m->Update();
  EXPECT_EQ(m->bulletlist.size(), 6u);
  // Missiles on the 60 period: 120 is a multiple of both.
  m->missilelist.clear();
  m->bullettimer = 115;
  m->Update();
  EXPECT_EQ(m->missilelist.size(), 4u);
  // The special window: two missiles a frame from 200 on, none at 199.
  m->missilelist.clear();
  m->bullettimer = 1;
  m->playspecialtimer = 198;
  m->Update();
  EXPECT_EQ(m->missilelist.size(), 0u);
  m->Update();
  EXPECT_EQ(m->missilelist.size(), 2u);
}

TEST_F(FrontendTest, AchievementGridWrapsInItsRowAndTogglesRowsShowingEveryText) {
  m->menustate = "achievements";
  program.achievementFlags[3] = 1;
  for (int i = 0; i < kAchievements; ++i) {
    m->achrow = i < 5 ? 1 : 2;
    m->achselected = i % 5 + 1;
    const auto texts = textsOfFrame();
    EXPECT_TRUE(has(texts, assets.achievementNames[static_cast<size_t>(i)])) << i;
    EXPECT_TRUE(has(texts, assets.achievementDescriptions[static_cast<size_t>(i)])) << i;
  }
  m->achrow = 1;
  m->achselected = 1;
  press(pf::vk::kLeft);
  EXPECT_EQ(m->achselected, 5);
  EXPECT_EQ(m->achrow, 1);
  press(pf::vk::kRight);
  EXPECT_EQ(m->achselected, 1);
  press(pf::vk::kDown);
  EXPECT_EQ(m->achrow, 2);
  press(pf::vk::kDown);
  EXPECT_EQ(m->achrow, 1);
  press(pf::vk::kUp);
  EXPECT_EQ(m->achrow, 2);
  // Held icons come from the bright set, the others from the dim one.
  display->clearCalls();
  display->setRecording(true);
  m->Update();
  display->setRecording(false);
  int bright = 0, dim = 0;
  for (const pf::DrawCall& c : display->calls()) {
    for (int i = 0; i < kAchievements; ++i) {
      if (c.image == &assets.achievementIcons[static_cast<size_t>(i)]()) ++bright;
      if (c.image == &assets.achievementIconsDim[static_cast<size_t>(i)]()) ++dim;
    }
  }
  EXPECT_EQ(bright, 1);
  EXPECT_EQ(dim, 9);
  confirm();
  EXPECT_EQ(m->menustate, "main");
}

TEST_F(FrontendTest, NoJoystickShowsItsMessageFor120FramesAndChangesNothing) {
  const Settings before = settings;
  openSetupEntry(4);
  ASSERT_EQ(m->menustate, "joysticks");
  int shown = 0;
  while (m->menustate == "joysticks" && shown < 500) {
    if (has(textsOfFrame(), "No joystick found")) ++shown;
  }
  EXPECT_EQ(shown, 119);  // frames 1 to 119; the 120th returns to the list
  EXPECT_EQ(m->menustate, "setup");
  EXPECT_EQ(settings.jfireLeftButton, before.jfireLeftButton);
  EXPECT_EQ(settings.jFireRightButton, before.jFireRightButton);
  EXPECT_EQ(settings.jBombButton, before.jBombButton);
}

TEST_F(FrontendTest, JoystickRedefinitionTakesOnlyFreshPresses) {
  settings.usejoy = 1;
  pf::inputState().setJoystickCount(1);
  m->joytimer = 40;
  m->menustate = "setup";
  m->selectedItem = 4;
  m->Update();
  // Button 3 confirms the entry and stays held.
  pf::inputState().joyButton(0, 3, true);
  m->Update();
  m->Update();
  ASSERT_EQ(m->menustate, "joysticks");
  for (int i = 0; i < 30; ++i) m->Update();
  EXPECT_EQ(m->joyinputstate, 1);
  pf::inputState().joyButton(0, 3, false);
  for (const int button : {7, 3, 9}) {
    pf::inputState().joyButton(0, button, true);
    for (int i = 0; i < 12; ++i) m->Update();
    pf::inputState().joyButton(0, button, false);
  }
  EXPECT_EQ(settings.jfireLeftButton, 7);
  EXPECT_EQ(settings.jFireRightButton, 3);
  EXPECT_EQ(settings.jBombButton, 9);
  for (int i = 0; i < 130 && m->menustate == "joysticks"; ++i) m->Update();
  EXPECT_EQ(m->menustate, "setup");
  EXPECT_EQ(stored("jfireLeftButton"), 7);
  EXPECT_EQ(stored("jBombButton"), 9);
}

TEST_F(FrontendTest, TheSameKeyForEveryActionIsAcceptedAndSaved) {
  std::deque<std::function<void()>> steps;
  for (int i = 0; i < 7; ++i) answer(steps, pf::vk::kEscape);
  openSetupEntry(3);
  scriptKeys(std::move(steps));
  m->Update();  // the whole sequence runs inside this frame
  EXPECT_EQ(m->menustate, "setup");
  for (const char* key : {"upkey", "downkey", "leftkey", "rightkey", "fire1key", "fire2key", "fire3key"}) {
    EXPECT_EQ(stored(key), pf::vk::kEscape) << key;
  }
  EXPECT_EQ(m->quit, 0);
}

TEST_F(FrontendTest, AHeldKeyAnswersOnePromptOnly) {
  // W is held with its key repeat running, then let go; then six more keys.
  std::deque<std::function<void()>> steps = {flipped(), down('W'), down('W'), down('W'), down('W'), up('W')};
  answer(steps, {'S', pf::vk::kA, 'D', pf::vk::kSpace, 'B', 'N'});
  openSetupEntry(3);
  scriptKeys(std::move(steps));
  m->Update();
  EXPECT_EQ(settings.upkey, 'W');
  EXPECT_EQ(settings.downkey, 'S');
  EXPECT_EQ(settings.fire3key, 'N');
}

TEST_F(FrontendTest, TheConfirmKeyHeldIntoTheKeysAnswersNoPrompt) {
  // Return confirmed the entry and stays held: its key repeats arrive while
  // the first prompt waits, then it is let go and seven keys follow.
  const auto repeat = [] { pf::inputState().keyPressed(pf::vk::kReturn, true); };
  std::deque<std::function<void()>> steps = {flipped(), repeat, repeat, up(pf::vk::kReturn)};
  answer(steps, {'W', 'S', pf::vk::kA, 'D', pf::vk::kSpace, 'B', 'N'});
  openSetupEntry(3);
  scriptKeys(std::move(steps));
  m->Update();
  EXPECT_EQ(settings.upkey, 'W');
  EXPECT_EQ(settings.fire3key, 'N');
}

TEST_F(FrontendTest, ACloseRequestDuringTheKeysPutsTheOldKeysBackAndQuits) {
  const Settings before = settings;
  openSetupEntry(3);
  scriptKeys({down(pf::vk::kQ), up(pf::vk::kQ), down('E'), up('E'), [] { pf::inputState().requestClose(); }});
  EXPECT_EQ(m->Update(), 1);
  EXPECT_EQ(settings.upkey, before.upkey);
  EXPECT_EQ(settings.downkey, before.downkey);
  EXPECT_EQ(settings.leftkey, before.leftkey);
  EXPECT_NE(settings.leftkey, 0);
  EXPECT_EQ(stored("upkey"), before.upkey);
}

TEST_F(FrontendTest, SoundAndMusicTogglesSaveAtOnceAndMusicRestartsOnAFreshChannel) {
  openSetupEntry(2);
  EXPECT_EQ(settings.sound, 0);
  EXPECT_EQ(stored("sound"), 0);
  EXPECT_TRUE(has(textsOfFrame(), "sfx off"));

  const pf::Channel first = assets.musicTitle.channel;
  ASSERT_TRUE(pf::channelPlaying(first));
  m->selectedItem = 1;
  confirm();
  EXPECT_EQ(settings.music, 0);
  EXPECT_EQ(stored("music"), 0);
  EXPECT_FALSE(pf::channelPlaying(first));
  confirm();
  EXPECT_EQ(settings.music, 1);
  EXPECT_FALSE(assets.musicTitle.channel == first);
  EXPECT_TRUE(pf::channelPlaying(assets.musicTitle.channel));
}

TEST_F(FrontendTest, DisplaySwitchKeepsTheModeOnlyWhenTheDisplayReopensInIt) {
  ASSERT_EQ(settings.screendepth, 32);
  const pf::Font* oldFont = &assets.gameFont();
  openSetupEntry(5);
  EXPECT_EQ(settings.screendepth, 0);
  EXPECT_EQ(display->depth(), 0);
  EXPECT_TRUE(display->pointerVisible());
  EXPECT_EQ(stored("screendepth"), 0);
  EXPECT_NE(&assets.gameFont(), oldFont);
  EXPECT_EQ(pf::currentFont(), &assets.gameFont());
  EXPECT_TRUE(has(textsOfFrame(), "Switch to fullscreen"));

  // Full screen cannot be had: the window comes back and nothing is saved.
  display->refuseDepth(32);
  confirm();
  EXPECT_EQ(settings.screendepth, 0);
  EXPECT_TRUE(pf::displayOpen());
  EXPECT_EQ(display->depth(), 0);
  EXPECT_EQ(stored("screendepth"), 0);
  EXPECT_EQ(m->quit, 0);
}

TEST_F(FrontendTest, AHeldDirectionMovesOnceUntilItsKeyRepeats) {
  m->menustate = "achievements";
  pf::inputState().keyPressed(pf::vk::kRight);
  for (int i = 0; i < 40; ++i) m->Update();
  EXPECT_EQ(m->achselected, 2);
  pf::inputState().keyPressed(pf::vk::kRight);  // the platform's key repeat
  m->Update();
  EXPECT_EQ(m->achselected, 3);
  pf::inputState().keyReleased(pf::vk::kRight);

  m->menustate = "play";
  m->playoffset = -100;
  m->joytimer = 11;
  pf::inputState().keyPressed(pf::vk::kRight);
  for (int i = 0; i < 40; ++i) m->Update();
  EXPECT_EQ(m->playoffset, -200);
  pf::inputState().keyReleased(pf::vk::kRight);
}

TEST_F(FrontendTest, EveryShipsDemonstrationFollowsItsVolleyTable) {
  // Ship two at 160: the 40, 80 and 160 volleys together, 6 + 2 + 1 shots.
  selectShip(2, 160, 10);
  EXPECT_EQ(m->bulletlist.size(), 9u);
  frameAt(41, 200);  // the special window: two beams a frame
  int beams = 0;
  m->bulletlist.forEach([&](bullet& b) { beams += b.isparticlebeam; });
  EXPECT_EQ(beams, 2);

  // Ship three at 80: seven fanned shots and three streaks; its special a
  // ring and a glow per frame.
  selectShip(3, 80, 10);
  EXPECT_EQ(m->bulletlist.size(), 10u);
  frameAt(41, 230);
  EXPECT_EQ(m->powerringlist.size(), 1u);
  EXPECT_EQ(m->bloodlist.size(), 1u);
  // A shot 15 frames old splits into two, six degrees either side.
  m->bulletlist.clear();
  bullet* old = m->bulletlist.add(
      bullet::Create(300, 300, 270, 10, assets.blobImage(), 1, pf::kBlendLight, 1, 2, 3, 1, 0.1f, 1.5f, 0, 4));
  old->timer = 15;
  m->bullettimer = 1;
  m->Update();
  std::vector<float> angles;
  m->bulletlist.forEach([&](bullet& b) {
    angles.push_back(b.angle);
    EXPECT_FLOAT_EQ(b.damage, 2);
    EXPECT_FLOAT_EQ(b.xScale, 0.7f);
  });
  EXPECT_EQ(angles, (std::vector<float>{264, 276}));

  // Ship four fires from itself and each of the five option stars the
  // carousel gave it: one shot each while its own cycle aims up, two while
  // it aims sideways; its fire wall comes at 200 exactly.
  auto& four = dynamic_cast<standardShip&>(selectShip(4, 45, 10));
  EXPECT_TRUE(m->bulletlist.empty());
  four.timer = 0;
  frameAt(40, 10);
  EXPECT_EQ(m->bulletlist.size(), 6u);
  four.timer = 150;
  frameAt(40, 200);
  EXPECT_EQ(m->bulletlist.size(), 12u);
  EXPECT_EQ(m->firelist.size(), 1u);
  frameAt(41, 201);
  EXPECT_TRUE(m->firelist.empty());

  // Ship five at 60: two yellow missiles and two lasers; its special lets
  // the trails linger, never below 0.2.
  selectShip(5, 60, 10);
  EXPECT_EQ(m->missilelist.size(), 2u);
  EXPECT_EQ(m->bulletlist.size(), 2u);
  m->missilelist.forEach([](missile& mi) { EXPECT_EQ(mi.red + mi.green + mi.blue, 510); });
  m->clsalpha = 0.22f;
  frameAt(41, 210);
  EXPECT_FLOAT_EQ(m->clsalpha, 0.2f);

  // Ship six: one shot every 12 frames, none between.
  selectShip(6, 60, 10);
  EXPECT_EQ(m->bulletlist.size(), 1u);
  frameAt(40, 10);
  EXPECT_TRUE(m->bulletlist.empty());
}
