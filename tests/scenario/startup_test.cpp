#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "app/asset_loader.hpp"
#include "app/asset_store.hpp"
#include "app/outer_loop.hpp"
#include "app/startup.hpp"
#include "essentials/assets.hpp"
#include "essentials/settings.hpp"
#include "persist/database.hpp"
#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "temp_dir.hpp"
#include "test_support.hpp"

namespace {

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { assets = GameAssets{}; }
  void TearDown() override {
    display.setFrameHook(nullptr);
    settingsDb.close();
    assets = GameAssets{};
  }

  // Starts up and keeps what a failed database step would have printed.
  StartupResult start(const std::string& file) {
    const Startup started = startUp(file);
    fatalText += started.consoleText;
    return started.result;
  }

  // A database as a previous run left it, then changed by `sql`.
  void storedRow(const std::string& sql) {
    ASSERT_TRUE(openDatabase(path) && createTables());
    settingsDb.close();
    SQLite::Database db(path, SQLite::OPEN_READWRITE);
    db.exec(sql);
  }

  int storedInt(const std::string& column) {
    SQLite::Database db(path);
    return db.execAndGet("SELECT " + column + " FROM setupData WHERE id=1").getInt();
  }

  // Frames the logo runs for, from the sting to the end of the fade-out.
  int64_t logoFrames() {
    const int64_t before = display.frames();
    showLogo();
    return display.frames() - before;
  }

  pf::HeadlessBackend& display = freshHeadless();
  TempDir dir;
  std::string path = dir.file("VE4R.dtb");
  std::string fatalText;
};

}  // namespace

TEST_F(StartupTest, FirstRunCreatesTheDatabaseAndOpensFullScreen) {
  const int64_t framesBefore = display.frames();
  ASSERT_EQ(start(path), StartupResult::ready);
  EXPECT_EQ(fatalText, "");
  SQLite::Database db(path);
  EXPECT_EQ(db.execAndGet("SELECT count(*) FROM setupData").getInt(), 1);
  EXPECT_EQ(db.execAndGet("SELECT screendepth || ' ' || screenwidth || 'x' || screenheight FROM setupData").getString(),
            "32 800x600");
  EXPECT_EQ(display.depth(), 32);
  EXPECT_EQ(pf::displayWidth(), 800);
  EXPECT_EQ(pf::displayHeight(), 600);
  EXPECT_EQ(pf::getBlend(), pf::kBlendAlpha);
  // The start-up frames: the cleared one before the rock slices, then "Loading...".
  EXPECT_EQ(display.frames() - framesBefore, 2);
}

TEST_F(StartupTest, UnusableDatabaseEndsBeforeAnyDisplayOpens) {
  {
    std::ofstream out(path, std::ios::binary);
    out << std::string(2048, 'x');
  }
  pf::closeDisplay();
  EXPECT_EQ(start(path), StartupResult::databaseFailed);
  EXPECT_EQ(fatalText, "failed to load VE4R.dtb \n");
  EXPECT_FALSE(pf::displayOpen());
}

TEST_F(StartupTest, StoredRowIsAdjustedAtStartAndSavedBack) {
  storedRow("UPDATE setupData SET usejoy=1, achievements='10x1', ship3=1, ship6=1");
  ASSERT_EQ(start(path), StartupResult::ready);
  // No joystick is attached, whatever the file says.
  EXPECT_EQ(settings.usejoy, 0);
  // Missing and non-digit positions of a short string read as 0.
  const std::array<int, 20> expected = {1, 0, 0, 1};
  EXPECT_EQ(program.achievementFlags, expected);
  EXPECT_EQ(program.shipUnlocked, (std::array<int, 5>{0, 1, 0, 0, 1}));

  EXPECT_TRUE(shutDown());
  EXPECT_EQ(storedInt("usejoy"), 0);
  SQLite::Database db(path);
  EXPECT_EQ(db.execAndGet("SELECT achievements FROM setupData").getString(), "10010000000000000000");
}

TEST_F(StartupTest, LogoRunsItsFullFadeWithSoundOnOrOff) {
  ASSERT_EQ(start(path), StartupResult::ready);
  display.setRecording(true);
  bool stingPlayed = false;
  display.setFrameHook([&] { stingPlayed = stingPlayed || pf::channelPlaying(assets.sfxYes.channel); });
  const int64_t withSound = logoFrames();
  EXPECT_TRUE(stingPlayed);

  // The studio name fades in, is held fully opaque, and fades out again.
  std::vector<float> nameAlpha;
  for (const pf::DrawCall& call : display.calls()) {
    if (call.kind == pf::DrawCall::Kind::Text && call.text == "pellmore games" && call.blend == pf::kBlendAlpha) {
      nameAlpha.push_back(call.alpha);
    }
  }
  ASSERT_EQ(static_cast<int64_t>(nameAlpha.size()), withSound);
  const auto opaque = std::count(nameAlpha.begin(), nameAlpha.end(), 1.0f);
  EXPECT_GE(opaque, 55);
  EXPECT_LT(nameAlpha.front(), 0.02f);
  EXPECT_LT(nameAlpha.back(), 0.02f);
  EXPECT_NEAR(withSound, 360, 5);

  pf::stopChannel(assets.sfxYes.channel);
  settings.sound = 0;
  const pf::Channel before = assets.sfxYes.channel;
  stingPlayed = false;
  EXPECT_EQ(logoFrames(), withSound);
  EXPECT_EQ(assets.sfxYes.channel, before);
  EXPECT_FALSE(stingPlayed);
}

TEST_F(StartupTest, OuterLoopEndsOnQuitOrCloseAndHidesThePointerOnlyInFullScreen) {
  ASSERT_EQ(start(path), StartupResult::ready);
  for (const int depth : {32, 0}) {
    SCOPED_TRACE(depth);
    settings.screendepth = depth;
    ASSERT_TRUE(pf::openDisplay(800, 600, depth));
    int frames = 0;
    // Full screen: Up to "quit", then confirm; the window: a close request.
    display.setFrameHook([&] {
      ++frames;
      if (depth == 32 && frames == 5) pf::inputState().keyPressed(pf::vk::kUp);
      if (depth == 32 && frames == 6) pf::inputState().keyPressed(pf::vk::kReturn);
      if (depth == 0 && frames == 5) pf::inputState().requestClose();
    });
    pf::showPointer();
    EXPECT_TRUE(runOuterLoop());
    display.setFrameHook(nullptr);
    EXPECT_EQ(frames, depth == 32 ? 8 : 6);
    EXPECT_EQ(display.pointerVisible(), depth == 0);
    EXPECT_TRUE(shutDown());
    EXPECT_TRUE(display.pointerVisible());
    EXPECT_FALSE(pf::displayOpen());
    pf::inputState().reset();
  }
}

TEST(AssetLoader, LoadsEveryAssetWithoutDisplayFrames) {
  pf::HeadlessBackend& display = freshHeadless();
  assets = GameAssets{};
  registerAssetStore();
  const int64_t framesBefore = display.frames();
  ASSERT_EQ(loadGameAssets(), std::nullopt);
  EXPECT_EQ(display.frames(), framesBefore);

  const GameAssets& a = assets;
  EXPECT_EQ(pf::currentFont(), &a.gameFont());
  EXPECT_NE(&a.blobImage(), &a.blobImageLeft());
  EXPECT_EQ(a.blobImage().handleX(), 32.0f);
  EXPECT_EQ(a.blobImageRight().handleX(), static_cast<float>(a.blobImage().width()));
  EXPECT_EQ(a.blobImageRight().handleY(), 0.0f);
  EXPECT_EQ(a.rockImage().width(), 112);
  EXPECT_EQ(a.rockImage().height(), 662);

  for (int i = 0; i < kRockSlices; ++i) {
    const pf::Image& slice = a.rockSlices[static_cast<size_t>(i)]();
    ASSERT_EQ(slice.width(), 1);
    ASSERT_EQ(slice.height(), 600);
    EXPECT_EQ(slice.flags(), 9);
    EXPECT_EQ(a.rockSliceOffsets[static_cast<size_t>(i)], static_cast<float>(i));
    for (int y : {0, 299, 599}) {
      EXPECT_EQ(slice.pixels(0)[static_cast<size_t>(y)], a.rockImage().pixels(0)[static_cast<size_t>(y * 112 + i)]);
    }
  }
  for (const Loaded<pf::Image>& water : a.waterFrames) {
    EXPECT_EQ(water().width(), 512);
    EXPECT_EQ(water().flags(), 6);
  }
  EXPECT_EQ(a.achievementNames[9], "speed demon");
  EXPECT_EQ(a.achievementDescriptions[1], "don't win, don't loose, just fail");

  EXPECT_TRUE(a.musicBoss.sound().loop);
  EXPECT_NE(&a.sfxZap.sound(), &a.sfxZap2.sound());
  EXPECT_FALSE(a.sfxZap2.sound().loop);
  EXPECT_TRUE(a.musicTitle.channel && a.sfxZap.channel && a.sfxZap2.channel && a.sfxExplosion.channel);
  EXPECT_FALSE(a.sfxZap.channel == a.sfxZap2.channel);
  // Channels must go while their audio backend still exists.
  assets = GameAssets{};
}

// An asset that does not decode ends the loading with one line that names it.
TEST(AssetLoader, AFaultyAssetIsNamedWithWhatFailed) {
  freshHeadless();
  registerAssetStore();
  static const uint8_t kNotAnImage[] = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
  pf::registerEmbeddedFile("images\\heart.png", kNotAnImage, sizeof kNotAnImage);
  EXPECT_EQ(loadFontAndImages(),
            "Ovelune: the embedded asset \"images\\heart.png\" could not be decoded as a PNG or JPEG image");
  registerAssetStore();
  assets = GameAssets{};
}

TEST_F(StartupTest, AWindowCloseDuringTheLogoCutsItShortAndEndsTheProgram) {
  ASSERT_EQ(start(path), StartupResult::ready);
  int frames = 0;
  display.setFrameHook([&] {
    if (++frames == 10) pf::inputState().requestClose();
  });
  EXPECT_LT(logoFrames(), 15);
  EXPECT_TRUE(runOuterLoop());  // the menu's first frame sees the request
  display.setFrameHook(nullptr);
  EXPECT_LT(frames, 15);
  EXPECT_TRUE(shutDown());
}
