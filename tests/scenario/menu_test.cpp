// The title menu: navigation and its frame gates, and the bookkeeping after a run.
#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "essentials/assets.hpp"
#include "essentials/settings.hpp"
#include "frontend/menu.hpp"
#include "loopback_server.hpp"
#include "persist/database.hpp"
#include "persist/score_server.hpp"
#include "persist/scores.hpp"
#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "scenario_support.hpp"
#include "temp_dir.hpp"

namespace {

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    newRun();  // headless platform and assets
    display = &pf::installHeadless();
    configureScoreServer("127.0.0.1:1");  // nothing listens: submissions fail at once
    ASSERT_TRUE(openDatabase(path) && createTables());
    m = menu::Create();
  }
  void TearDown() override { settingsDb.close(); }

  void press(int code) {
    pf::inputState().keyPressed(code);
    m->Update();
    pf::inputState().keyReleased(code);
  }

  // A finished run as the session leaves it.
  std::unique_ptr<game> finishedRun(bool completed, bool perfect) {
    auto g = game::Create(1);
    g->gamecompleted = completed ? 1 : 0;
    g->gotperfect = perfect ? 1 : 0;
    return g;
  }

  std::vector<int> bannerTypes() {
    std::vector<int> types;
    m->achievementlist.forEach([&](AchievementLogo& a) { types.push_back(a.atype); });
    return types;
  }

  pf::HeadlessBackend* display = nullptr;
  TempDir dir;
  std::string path = dir.file("VE4R.dtb");
  std::unique_ptr<menu> m;
};

}  // namespace

TEST_F(MenuTest, SelectionWrapsAtBothEndsOneEntryPerPress) {
  m->Update();
  EXPECT_EQ(m->selectedItem, 1);
  press(pf::vk::kUp);
  EXPECT_EQ(m->selectedItem, 5);
  EXPECT_EQ(m->cursorY, 80);  // the cursor follows on the next frame
  m->Update();
  EXPECT_EQ(m->cursorY, 200);
  press(pf::vk::kDown);
  EXPECT_EQ(m->selectedItem, 1);
  // Held across frames, a key moves once: the move flushes its state.
  pf::inputState().keyPressed(pf::vk::kDown);
  m->Update();
  m->Update();
  m->Update();
  EXPECT_EQ(m->selectedItem, 2);
  // A press moves on every frame, the periodic key flush's frames included.
  for (int frame = 0; frame < 30; ++frame) {
    const int before = m->selectedItem;
    press(pf::vk::kDown);
    EXPECT_EQ(m->selectedItem, before % 5 + 1) << "frame " << m->timer;
  }
}

TEST_F(MenuTest, JoystickConfirmsAfter30FramesAndMovesOncePer11) {
  settings.usejoy = 1;
  pf::inputState().setJoystickCount(1);
  m->joytimer = 0;
  pf::inputState().joyButton(0, 3, true);
  m->Update();
  EXPECT_EQ(m->buttonpressed, 0);
  pf::inputState().joyButton(0, 3, false);

  pf::inputState().joyAxis(0, pf::kJoyY, 1.0f);  // held down
  int moves = 0;
  int last = m->selectedItem;
  for (int frame = 0; frame < 44; ++frame) {
    m->Update();
    if (m->selectedItem != last) ++moves;
    last = m->selectedItem;
  }
  EXPECT_EQ(moves, 4);
  pf::inputState().joyAxis(0, pf::kJoyY, 0.0f);

  m->joytimer = 30;
  pf::inputState().joyButton(0, 3, true);
  m->Update();
  EXPECT_EQ(m->buttonpressed, 0);  // joytimer was 30, not above it
  m->Update();
  EXPECT_EQ(m->buttonpressed, 1);
}

TEST_F(MenuTest, ConfirmKeysWorkWhateverAttackOneIsBoundTo) {
  settings.fire1key = pf::vk::kA;
  m->Update();
  press(pf::vk::kZ);
  m->Update();  // the screen sees the confirm of the previous frame
  EXPECT_EQ(m->menustate, "play");
  EXPECT_EQ(m->playoffset, -100);
}

TEST_F(MenuTest, CarouselStopsAtTheBackEntriesWithoutWrapping) {
  m->menustate = "play";
  m->playoffset = -100;
  for (int i = 0; i < 3; ++i) {
    m->joytimer = 11;
    press(pf::vk::kLeft);
  }
  EXPECT_EQ(m->playoffset, 0);
  for (int i = 0; i < 10; ++i) {
    m->joytimer = 11;
    press(pf::vk::kRight);
  }
  EXPECT_EQ(m->playoffset, -700);
}

TEST_F(MenuTest, CompletingWithShipOneUnlocksShipTwoOnceAndRecordsPerfects) {
  auto first = finishedRun(true, false);
  EXPECT_EQ(m->bookAftermath(*first), 2);
  EXPECT_EQ(settings.ship2, 1);
  EXPECT_EQ(settings.ship1perfect, 0);

  auto second = finishedRun(true, true);
  EXPECT_EQ(m->bookAftermath(*second), 0);  // already unlocked: no screen
  EXPECT_EQ(settings.ship1perfect, 1);

  auto lost = finishedRun(false, true);
  settings.ship1perfect = 0;
  EXPECT_EQ(m->bookAftermath(*lost), 0);
  EXPECT_EQ(settings.ship1perfect, 0);
}

TEST_F(MenuTest, PerfectRunsWithShipsOneToFiveUnlockSixEvenAfterAFailedRun) {
  settings.ship1perfect = settings.ship2perfect = settings.ship3perfect = settings.ship4perfect = 1;
  settings.ship5perfect = 1;
  auto failed = finishedRun(false, false);
  failed->gamefailed = 1;
  EXPECT_EQ(m->bookAftermath(*failed), 6);
  EXPECT_EQ(settings.ship6, 1);
  auto again = finishedRun(false, false);
  EXPECT_EQ(m->bookAftermath(*again), 0);
}

TEST_F(MenuTest, PlayTimeCarriesWheneverASumReaches60) {
  settings.seconds = 59;
  settings.minutes = 59;
  settings.hours = 2;
  auto g = finishedRun(false, false);
  g->secs = 1;
  m->bookAftermath(*g);
  EXPECT_EQ(settings.seconds, 0);
  EXPECT_EQ(settings.minutes, 0);
  EXPECT_EQ(settings.hours, 3);

  settings.seconds = 50;
  auto h = finishedRun(false, false);
  h->secs = 20;
  h->mins = 3;
  m->bookAftermath(*h);
  EXPECT_EQ(settings.seconds, 10);
  EXPECT_EQ(settings.minutes, 4);
}

TEST_F(MenuTest, AfterRunAchievementsFollowTheRunsBannersInOrder) {
  auto g = finishedRun(true, false);
  g->bosstimer = 85;
  g->jellycount = 0;
  g->achievementlist.add(AchievementLogo::Create(5));
  m->bookAftermath(*g);
  EXPECT_EQ(bannerTypes(), (std::vector<int>{5, 2, 8, 9}));
  EXPECT_EQ(program.achievementFlags[2], 1);

  // Held achievements are not awarded again.
  auto again = finishedRun(true, false);
  again->bosstimer = 85;
  m->achievementlist.clear();
  m->bookAftermath(*again);
  EXPECT_TRUE(bannerTypes().empty());
}

TEST_F(MenuTest, ARunQuitFromThePauseScreenIsBookedAndTheMenuReset) {
  m->menustate = "play";
  m->begingame = 1;
  m->missilelist.add(missile::Create(100, 100, 0));
  pf::inputState().keyPressed(pf::vk::kEscape);
  pf::inputState().keyPressed(pf::vk::kQ);
  // Return on every frame confirms the name entry once the run is over.
  display->setFrameHook([] {
    pf::inputState().keyPressed(pf::vk::kReturn);
    pf::inputState().keyReleased(pf::vk::kReturn);
  });
  m->Update();
  display->setFrameHook(nullptr);
  EXPECT_EQ(m->begingame, 0);
  EXPECT_EQ(m->menustate, "main");
  EXPECT_TRUE(m->missilelist.empty());
  EXPECT_FALSE(pf::keyDown(pf::vk::kQ));
  // Nothing needing a finished level was awarded.
  EXPECT_EQ(program.achievementFlags[1], 0);
  EXPECT_EQ(program.achievementFlags[2], 0);
  // Nothing was unlocked, so the unlock screen and its sting stay away.
  EXPECT_FALSE(pf::channelPlaying(assets.sfxYes.channel));

  SQLite::Database db(path);
  EXPECT_EQ(db.execAndGet("SELECT count(*) FROM scores WHERE perfect=1").getInt(), 1);
}

TEST_F(MenuTest, WindowCloseEndsTheProgramAfterTheFrame) {
  pf::inputState().requestClose();
  EXPECT_EQ(m->Update(), 1);
  EXPECT_EQ(m->quit, 1);
}

TEST_F(MenuTest, ScoresScreenShowsTheLocalFiguresAndTheFetchedList) {
  LoopbackServer server([](const std::string& request) {
    return LoopbackServer::ok(request.find("uws2.php") != std::string::npos ? "1. [77][Ann]" : "");
  });
  configureScoreServer(server.address().c_str());
  insertScore(10, 1, 2);
  insertScore(15, 1, 2);
  settings.ship2 = 1;
  settings.hours = 1;
  settings.minutes = 5;
  settings.seconds = 9;
  m->selectedItem = 2;
  m->buttonpressed = 1;
  m->Update();  // "Scores" confirmed: figures and lists are read at once
  EXPECT_EQ(m->menustate, "stats");
  EXPECT_EQ(server.requests().size(), 6u);
  EXPECT_EQ(m->gamesplayed[1], 2);
  EXPECT_EQ(m->averageScores[1], 12);

  m->joytimer = 11;
  press(pf::vk::kRight);  // ship 2
  display->setRecording(true);
  m->Update();
  std::vector<std::string> texts;
  for (const pf::DrawCall& c : display->calls()) {
    if (c.kind == pf::DrawCall::Kind::Text) texts.push_back(c.text);
  }
  display->setRecording(false);
  for (const char* expected : {"time spent: 01:05:09", "ship: straight shooter", "highest score: 15",
                               "average score: 12", "completed game: No!", "perfect game: no!", "1.  77", "Ann"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
  }
  configureScoreServer("127.0.0.1:1");
}

TEST_F(MenuTest, ClosingAtTheNameEntryKeepsTheRunAndSendsNothing) {
  LoopbackServer server(LoopbackServer::always(LoopbackServer::ok("ok")));
  configureScoreServer(server.address().c_str());
  settings.name = "before";
  m->menustate = "play";
  m->begingame = 1;
  pf::inputState().keyPressed(pf::vk::kEscape);
  pf::inputState().keyPressed(pf::vk::kQ);
  display->setFrameHook([] { pf::inputState().requestClose(); });  // the window is closed during the run
  EXPECT_EQ(m->Update(), 1);                                       // the run is booked, then the program ends
  display->setFrameHook(nullptr);
  EXPECT_TRUE(server.requests().empty());
  SQLite::Database db(path);
  EXPECT_EQ(db.execAndGet("SELECT count(*) FROM scores").getInt(), 1);
  EXPECT_EQ(db.execAndGet("SELECT name FROM setupData").getString(), "before");
  configureScoreServer("127.0.0.1:1");
}

TEST_F(MenuTest, AFailedSaveAfterARunEndsTheMenuWithTheDatabaseReport) {
  {
    SQLite::Database db(path, SQLite::OPEN_READWRITE);
    db.exec("DROP TABLE setupData");
  }
  m->menustate = "play";
  m->begingame = 1;
  pf::inputState().keyPressed(pf::vk::kEscape);
  pf::inputState().keyPressed(pf::vk::kQ);
  EXPECT_EQ(m->Update(), 1);
  ASSERT_FALSE(m->lastSave());
  EXPECT_EQ(m->lastSave().consoleText(),
            "Failed to update setupData table\nTerminating Program\nno such table: setupData\n");
  EXPECT_FALSE(settingsDb.isOpen());
  // The run's replay is still kept beside the database, not in the folder
  // the game was started from.
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(path).parent_path() / "replays" / "000001-ship1.ovr"));
  EXPECT_FALSE(std::filesystem::exists("replays/000001-ship1.ovr"));
}
