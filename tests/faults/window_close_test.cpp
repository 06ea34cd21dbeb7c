// The window closed while the game waits on the network ("Loading online
// Scores...", "submitting score...") against a server that never answers:
// the wait is given up at once and the menu ends the program, instead of
// the player waiting out the whole network budget.
#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <chrono>
#include <string>

#include "frontend/menu.hpp"
#include "frontend/unlockscreen.hpp"
#include "loopback_server.hpp"
#include "persist/database.hpp"
#include "persist/score_server.hpp"
#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "scenario_support.hpp"
#include "temp_dir.hpp"

namespace {

constexpr long kPromptMs = 1500;  // "within a second or two"

class WindowCloseWhileWaiting : public ::testing::Test {
 protected:
  void SetUp() override {
    newRun();  // headless platform and assets
    display = &pf::installHeadless();
    configureScoreServer(silent.address().c_str());
    ASSERT_TRUE(openDatabase(dir.file(kDatabaseFile)) && createTables());
    m = menu::Create();
  }
  void TearDown() override {
    display->setFrameHook(nullptr);
    display->setRecording(false);
    settingsDb.close();
    configureScoreServer("127.0.0.1:1");
  }
  // The window is closed as soon as a frame shows `text`; Return confirms
  // every other prompt (the name entry).
  void closeOnText(const std::string& text) {
    display->setRecording(true);
    display->setFrameHook([this, text] {
      for (const pf::DrawCall& c : display->calls()) {
        if (c.kind == pf::DrawCall::Kind::Text && c.text == text) pf::inputState().requestClose();
      }
      display->clearCalls();
      pf::inputState().keyPressed(pf::vk::kReturn);
      pf::inputState().keyReleased(pf::vk::kReturn);
    });
  }
  long msToUpdate() {
    const auto start = std::chrono::steady_clock::now();
    result = m->Update();
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
  }

  LoopbackServer silent{LoopbackServer::silent()};
  pf::HeadlessBackend* display = nullptr;
  TempDir dir;
  std::unique_ptr<menu> m;
  int result = 0;
};

TEST_F(WindowCloseWhileWaiting, LoadingTheOnlineScores) {
  closeOnText("Loading online Scores...");
  m->selectedItem = 2;
  m->buttonpressed = 1;
  EXPECT_LT(msToUpdate(), kPromptMs);
  EXPECT_EQ(result, 1);
}

TEST_F(WindowCloseWhileWaiting, SubmittingAScoreKeepsTheRun) {
  closeOnText("submitting score...");
  m->menustate = "play";
  m->begingame = 1;
  pf::inputState().keyPressed(pf::vk::kEscape);
  pf::inputState().keyPressed(pf::vk::kQ);
  EXPECT_LT(msToUpdate(), kPromptMs);
  EXPECT_EQ(result, 1);
  SQLite::Database db(dir.file(kDatabaseFile));
  EXPECT_EQ(db.execAndGet("SELECT count(*) FROM scores").getInt(), 1);
}

TEST_F(WindowCloseWhileWaiting, TheUnlockScreenEndsOnTheFrameOfTheRequest) {
  int frames = 0;
  display->setFrameHook([&frames] {
    if (++frames == 30) pf::inputState().requestClose();
  });
  EXPECT_EQ(unlockscreen::Create(2)->Do(), 0);
  EXPECT_EQ(frames, 30);
  EXPECT_EQ(m->Update(), 1);  // and the menu ends the program
}

}  // namespace
