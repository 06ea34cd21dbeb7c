// A joystick with the real SDL backends: the game's window on a private X
// server and SDL's virtual joysticks (no hardware). Start-up sets `usejoy`
// from the pads attached; a pad drives the title menu and a run; pulling it
// while it is held leaves no button pressed and no stick pushed, and the
// keyboard drives on. Each case runs in a child process, because SDL, the
// settings and the assets are the program's own globals.
#include <SDL.h>
#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/outer_loop.hpp"
#include "app/startup.hpp"
#include "essentials/settings.hpp"
#include "frontend/menu.hpp"
#include "game/game.hpp"
#include "game/game_frame.hpp"
#include "game/run_recording.hpp"
#include "persist/database.hpp"
#include "persist/score_server.hpp"
#include "persist/settings_row.hpp"
#include "platform/input_state.hpp"
#include "platform/input_tape.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "platform/sdl/sdl_display.hpp"
#include "private_x_server.hpp"
#include "ships/playerbase.hpp"
#include "temp_dir.hpp"
#include "test_support.hpp"

namespace {

constexpr Sint16 kFull = 32767;
constexpr int kStickX = 0;
constexpr int kStickY = 1;

PrivateXServer xserver;

// In the child: a failed expectation ends it with the reason on stderr.
void require(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "FAILED: %s\n", what.c_str());
  std::_Exit(1);
}

// In the child: the input of a fresh program, not what earlier tests in the
// parent left held.
void freshInput() { pf::inputState().reset(); }

// In the child: plugs in a pad as a player would, before the game starts
// (the SDL display opens every device present) or while it runs (the event
// pump picks it up).
int plugPad() {
  if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) require(SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0, SDL_GetError());
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 16, 0);
  require(index >= 0, std::string("virtual joystick: ") + SDL_GetError());
  return index;
}

// The pad the game opened for the device at `index`.
SDL_Joystick* openedPad(int index) {
  SDL_Joystick* pad = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
  require(pad != nullptr, "the game did not open the pad");
  return pad;
}

void pull(SDL_Joystick* pad) {
  const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == id) require(SDL_JoystickDetachVirtual(i) == 0, SDL_GetError());
  }
}

// A key as SDL delivers it from the keyboard.
void key(SDL_Scancode scancode, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.keysym.scancode = scancode;
  SDL_PushEvent(&e);
}

// In the child: the real backends and the game's start-up on the file at
// `path`, frames unpaced, the window given the keyboard focus (SDL ignores
// pads while no window of the program has it, as for a player).
void startGame(const std::string& path) {
  freshInput();
  require(pf::installSdlBackends(), pf::sdlInitError());
  require(startUp(path).result == StartupResult::ready, "start-up");
  pf::sdlDisplay()->setUnpaced(true);
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  require(window != nullptr, "no window");
  SDL_RaiseWindow(window);
  SDL_SetWindowInputFocus(window);
  for (int i = 0; i < 10 && SDL_GetKeyboardFocus() != window; ++i) {
    SDL_Delay(20);
    pf::flip();
  }
  require(SDL_GetKeyboardFocus() == window, "the window never got the keyboard focus");
  configureScoreServer("127.0.0.1:1");
}

// Runs `frame` until `done` holds, at most `limit` times; true if it came.
bool runUntil(const std::function<void()>& frame, const std::function<bool()>& done, int limit) {
  for (int i = 0; i < limit; ++i) {
    if (done()) return true;
    frame();
  }
  return done();
}

void menuWithPad(const std::string& path) {
  const int index = plugPad();
  startGame(path);
  require(settings.usejoy == 1, "usejoy");
  SDL_Joystick* pad = openedPad(index);
  std::unique_ptr<menu> m = menu::Create();
  const auto frame = [&] {
    require(m->Update() == 0, "the menu ended");
    pf::flip();
  };
  const auto selected = [&](int item) { return [&m, item] { return m->selectedItem == item; }; };
  const auto onScreen = [&](const char* state) { return [&m, state] { return m->menustate == state; }; };
  // The carousel reads its keys only once the stick's repeat delay is over.
  const auto readsKeys = [&] { return m->joytimer > 10; };
  const auto tap = [&](SDL_Scancode scancode) {
    runUntil(frame, readsKeys, 40);
    key(scancode, true);
    frame();
    frame();
    key(scancode, false);
    frame();
  };

  // The stick moves the selection one entry, the button confirms.
  SDL_JoystickSetVirtualAxis(pad, kStickY, kFull);
  require(runUntil(frame, selected(2), 30), "the stick did not move the selection down");
  SDL_JoystickSetVirtualAxis(pad, kStickY, 0);
  for (int i = 0; i < 30; ++i) frame();
  require(m->selectedItem == 2, "a centred stick went on moving the selection");
  SDL_JoystickSetVirtualAxis(pad, kStickY, -kFull);
  require(runUntil(frame, selected(1), 30), "the stick did not move the selection up");
  SDL_JoystickSetVirtualAxis(pad, kStickY, 0);
  SDL_JoystickSetVirtualButton(pad, 0, SDL_PRESSED);
  require(runUntil(frame, onScreen("play"), 60), "the button did not confirm Play");
  SDL_JoystickSetVirtualButton(pad, 0, SDL_RELEASED);
  require(m->playoffset == -100, "ship one is offered first");

  // On the ship selection: the stick turns the carousel to ship two
  // (locked, so a button there starts nothing). Pulled while pushed
  // and pressed, the pad leaves the carousel still and no confirm.
  SDL_JoystickSetVirtualAxis(pad, kStickX, kFull);
  require(runUntil(
              frame, [&] { return m->playoffset == -200; }, 30),
          "the stick did not turn the carousel");
  SDL_JoystickSetVirtualButton(pad, 1, SDL_PRESSED);
  frame();
  require(pf::joyDown(1, 0), "the button is held");
  pull(pad);
  frame();
  require(pf::joyCount() == 0, "the pulled pad is still counted");
  const int offset = m->playoffset;
  for (int i = 0; i < 60; ++i) {
    frame();
    require(m->buttonpressed == 0, "a pulled pad's button still confirms");
  }
  require(m->playoffset == offset && m->menustate == "play", "a pulled pad's stick still turns the carousel");

  // The keyboard: back to the "back" stop, Return to the title, Down.
  for (int i = 0; i < 3 && m->playoffset != 0; ++i) tap(SDL_SCANCODE_LEFT);
  require(m->playoffset == 0, "Left did not turn the carousel back");
  tap(SDL_SCANCODE_RETURN);
  require(m->menustate == "main", "Return on \"back\" did not go back");
  const int before = m->selectedItem;
  tap(SDL_SCANCODE_DOWN);
  require(m->selectedItem == before % 5 + 1, "Down did not move the selection");

  // A pad plugged in during the menu takes the freed port and works.
  const int secondIndex = plugPad();
  frame();
  SDL_Joystick* second = openedPad(secondIndex);
  require(pf::joyCount() == 1, "the new pad is not counted");
  const int item = m->selectedItem;
  SDL_JoystickSetVirtualAxis(second, kStickY, kFull);
  require(runUntil(frame, selected(item % 5 + 1), 30), "the new pad's stick did not move the selection");
  pull(second);
  frame();
}

void runWithPad(const std::string& path) {
  const int index = plugPad();
  startGame(path);
  SDL_Joystick* pad = openedPad(index);
  std::unique_ptr<game> g = startRecordedRun(1, 7);
  playerbase& ship = *g->p1;
  g->invulnerable = true;
  const auto frame = [&] { require(playFrame(*g) == 0, "the run ended"); };
  const auto frames = [&](int n) {
    for (int i = 0; i < n; ++i) frame();
  };
  runUntil(
      frame, [&] { return g->playerstarttimer > 120; }, 200);
  // Momentum fades within a second once nothing pushes.
  const auto settled = [&] {
    frames(60);
    const float x = ship.x;
    frames(20);
    return ship.x == x;
  };
  const int fire = settings.jfireLeftButton;

  // The stick steers, the fire button shoots.
  float x = ship.x;
  SDL_JoystickSetVirtualAxis(pad, kStickX, kFull);
  frames(20);
  require(ship.x > x + 20, "the stick did not steer right");
  SDL_JoystickSetVirtualAxis(pad, kStickX, 0);
  // Short of the right edge of the field (x 650), where a stuck stick would
  // have pushed it.
  require(settled() && ship.x < 600, "a centred stick still steers");
  SDL_JoystickSetVirtualButton(pad, static_cast<Uint8>(fire), SDL_PRESSED);
  const int64_t shots = g->shotsCreated.bullets;
  require(runUntil(
              frame, [&] { return g->shotsCreated.bullets > shots; }, 60),
          "the button did not fire");

  // Pulled while steering left and firing: the ship stops well short of the
  // left edge of the field (x 150) and holds its fire.
  x = ship.x;
  SDL_JoystickSetVirtualAxis(pad, kStickX, -kFull);
  frames(5);
  require(ship.x < x && ship.fire1 == 1, "the stick steers left and fire is held");
  pull(pad);
  frame();
  require(pf::joyCount() == 0, "the pulled pad is still counted");
  require(settled() && ship.x > x - 100, "the ship drifts on after the pad was pulled");
  const int64_t afterPull = g->shotsCreated.bullets;
  for (int i = 0; i < 45; ++i) {
    frame();
    require(ship.fire1 == 0 && ship.fire2 == 0, "a pulled pad's button still fires");
  }
  require(g->shotsCreated.bullets == afterPull, "shots after the pull");

  // The keyboard steers and fires.
  x = ship.x;
  key(SDL_SCANCODE_LEFT, true);
  frames(20);
  key(SDL_SCANCODE_LEFT, false);
  require(ship.x < x - 20, "Left did not steer");
  key(SDL_SCANCODE_Z, true);
  require(runUntil(
              frame, [&] { return g->shotsCreated.bullets > afterPull; }, 60),
          "Z did not fire");
  key(SDL_SCANCODE_Z, false);
  frame();
  pf::inputTape().stop();
}

class JoystickSession : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("ALSOFT_DRIVERS", "null", 0);    // no sound card needed or probed
    setenv("SDL_JOYSTICK_HIDAPI", "0", 0);  // only the virtual pads, no probing of USB devices
    xserver.startUnlessDisplaySet("1024x768x24");
  }
  static void TearDownTestSuite() { xserver.stop(); }

  void SetUp() override {
    if (!displaySet()) SKIP_UNLESS_CI("no DISPLAY and no Xvfb");
    // A plain fork: the child uses this test's file, which the checks after
    // it read. No thread runs here (SDL starts only in the child).
    GTEST_FLAG_SET(death_test_style, "fast");
    path = dir.file(kDatabaseFile);
  }
  // A file made by a first start, with the given stored `usejoy`, in a
  // window (no full-screen refresh probe). The menu's layout is fixed, so its
  // cases take a small window that software GL fills fast; a run lays the
  // field out across the window and takes the game's own size.
  void storeSettings(int usejoy, int width = 320, int height = 240) {
    settings = Settings{};
    ASSERT_TRUE(openDatabase(path) && createTables() && loadSettings());
    settings.screendepth = 0;
    settings.screenwidth = width;
    settings.screenheight = height;
    settings.usejoy = usejoy;
    ASSERT_TRUE(saveSettings());
    settingsDb.close();
  }
  int storedUsejoy() {
    SQLite::Database db(path, SQLite::OPEN_READONLY);
    return db.execAndGet("SELECT usejoy FROM setupData").getInt();
  }
  // Starts the whole program over a stored `usejoy`, with or without a pad
  // attached: the menu and the shutdown save both see `expected`.
  void expectUsejoyAtStart(int stored, bool padAttached, int expected);

  TempDir dir;
  std::string path;
};

// The whole program (start-up, logo, menu, shutdown) ends on a close request
// after a few frames; `usejoy` is read in the menu.
void runProgramBriefly(const std::string& dir, int* usejoyInMenu) {
  require(chdir(dir.c_str()) == 0, "chdir");
  freshInput();
  require(pf::installSdlBackends(), pf::sdlInitError());
  int flips = 0;
  pf::sdlDisplay()->setFrameListener([&] {
    if (++flips == 5) pf::inputState().requestClose();
    *usejoyInMenu = settings.usejoy;
  });
  require(runProgram() == 0, "exit status");
  pf::shutdownSdlBackends();
}

void JoystickSession::expectUsejoyAtStart(int stored, bool padAttached, int expected) {
  storeSettings(stored);
  const std::string where = dir.file("");
  EXPECT_EXIT(
      {
        if (padAttached) plugPad();
        int usejoy = -1;
        runProgramBriefly(where, &usejoy);
        require(usejoy == expected, "usejoy in the menu: " + std::to_string(usejoy));
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(storedUsejoy(), expected);
}

TEST_F(JoystickSession, APadAttachedAtStartSetsUsejoyOverAStoredZero) { expectUsejoyAtStart(0, true, 1); }

TEST_F(JoystickSession, NoPadResetsAStoredOneAndTheSaveWritesIt) { expectUsejoyAtStart(1, false, 0); }

TEST_F(JoystickSession, TheMenuFollowsThePadAndTheKeyboardAfterItIsPulled) {
  storeSettings(0);
  EXPECT_EXIT(
      {
        menuWithPad(path);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(JoystickSession, ARunFollowsThePadAndTheKeyboardAfterItIsPulled) {
  storeSettings(0, 800, 600);
  EXPECT_EXIT(
      {
        runWithPad(path);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
