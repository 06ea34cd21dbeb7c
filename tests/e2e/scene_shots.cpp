// ovelune-scene-shots: plays a seeded run of ship one on the real SDL/OpenGL
// backend and saves chosen frames of the off-screen buffer as PNG files.
//
//   ovelune-scene-shots --out DIR [--seed S] [--frames N] [--render N]
//
// Keys are fed straight into the input state from a fixed script instead of
// coming from X events, and the window's focus is ignored, so the same seed
// always plays (and draws) the same run. Every frame is drawn and flipped
// unless --render N asks to draw only the N frames before each shot: the
// run itself is the same either way (drawing never feeds back into play), and
// the translucent clear erases older frames from the picture within a few
// dozen frames. Writes, into DIR:
//   scene-titles.png       frame 100: the "Level 1" / "Neon Ocean" titles
//                          (they fade out by frame 165)
//   scene-frame300.png     frame 300: the first starfish, before the waves
//   scene-shrimp-wave.png  frame 3500, the shrimp wave, ship one at power 3
//   scene-paused.png       the pause overlay a few frames after Escape
// and then, from a second run whose clock starts at frame 1800 (the timeline
// reads only the clock) with the ship holding its fire so the creatures stay
// whole, one picture of each later creature on the level frame given:
//   scene-anemones.png     2400    scene-eels.png        5200
//   scene-seahorses.png    6450    scene-jellyfish.png   7000
//   scene-hermitshells.png 9500
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/asset_loader.hpp"
#include "driver_window.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "platform/backend.hpp"
#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "png_file.hpp"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kEntryFrames = 120;  // the ship rises in and is invincible meanwhile
constexpr int kPauseFrame = 3540;  // Escape is pressed on this frame

struct Capture {
  int frame;
  const char* file;
};
constexpr Capture kCaptures[] = {
    {100, "scene-titles.png"},
    {300, "scene-frame300.png"},
    {3500, "scene-shrimp-wave.png"},
    {kPauseFrame + 6, "scene-paused.png"},
};
constexpr int kLastFrame = kPauseFrame + 6;

// The creature run: level frames, not frames of the run.
constexpr int kCreatureStart = 1800;
constexpr Capture kCreatureCaptures[] = {
    {2400, "scene-anemones.png"},  {5200, "scene-eels.png"},         {6450, "scene-seahorses.png"},
    {7000, "scene-jellyfish.png"}, {9500, "scene-hermitshells.png"},
};

// Whether a frame is drawn: all of them, or only the span before each shot.
template <size_t N>
bool drawn(int frame, int span, const Capture (&captures)[N]) {
  if (span <= 0) return true;
  for (const Capture& c : captures) {
    if (frame <= c.frame && frame > c.frame - span) return true;
  }
  return false;
}

void hold(int code, bool down) {
  pf::InputState& input = pf::inputState();
  if (down && !input.keyDown(code)) input.keyPressed(code);
  if (!down && input.keyDown(code)) input.keyReleased(code);
}

// The scripted player: both attack buttons (unless told to hold fire; straight
// shots, no lean), and after the entry a slow sweep across the water so the
// ship dodges the middle of the shrimp stream. Reads only the session, so it
// is as repeatable as the session itself.
void play(game& g, int frame, bool fire = true) {
  hold(settings.fire1key, fire);
  hold(settings.fire2key, fire);
  const bool steering = g.playerstarttimer > kEntryFrames / 2;
  const double target = 400 + 170 * Sin(frame * 0.35);
  hold(settings.leftkey, steering && g.p1->x > target + 8);
  hold(settings.rightkey, steering && g.p1->x < target - 8);
  const double rest = 470;
  hold(settings.upkey, steering && g.p1->y > rest + 8);
  hold(settings.downkey, steering && g.p1->y < rest - 8);
}

}  // namespace

int main(int argc, char** argv) {
  std::string outDir;
  uint64_t seed = 7;
  int lastFrame = kLastFrame;  // --frames stops early (later shots are skipped)
  int renderSpan = 0;          // 0: draw every frame
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--out") {
      outDir = argv[i + 1];
    } else if (arg == "--seed") {
      seed = std::strtoull(argv[i + 1], nullptr, 10);
    } else if (arg == "--frames") {
      lastFrame = std::atoi(argv[i + 1]);
    } else if (arg == "--render") {
      renderSpan = std::atoi(argv[i + 1]);
    }
  }
  if (outDir.empty()) {
    std::fprintf(stderr, "usage: ovelune-scene-shots --out DIR [--seed S] [--frames N] [--render N]\n");
    return 2;
  }

  settings = Settings{};
  settings.music = 0;  // silent: the run needs no audio device
  settings.sound = 0;
  program = ProgramState{};
  if (!openDriverWindow()) return 1;
  loadGameAssets();
  pf::setBlend(pf::kBlendAlpha);

  SeedRnd(seed);
  std::unique_ptr<game> g = game::Create(1);
  pf::ImagePtr shot = pf::createImage(kWidth, kHeight, 1, pf::kImageDynamic);
  pf::inputState().flushKeys();

  pf::DisplayBackend* const display = pf::displayBackend();
  int status = 0;
  const auto capture = [&](const Capture& c, int frame) {
    pf::grabImage(*shot, 0, 0);
    const std::string path = outDir + "/" + c.file;
    if (!writePng(path, *shot)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      status = 1;
    }
    std::printf("%s frame=%d lives=%d powerlevel=%d enemies=%zu bullets=%zu explosions=%zu paused=%d\n", c.file, frame,
                g->lives, g->powerlevel, g->enemylist.size(), g->bulletlist.size(), g->explosionlist.size(),
                program.paused);
  };
  for (int frame = 1; frame <= lastFrame; ++frame) {
    pf::installDisplayBackend(drawn(frame, renderSpan, kCaptures) ? display : nullptr);
    // Focus changes of the real window must not pause the scripted run.
    pf::inputState().setSuspended(false);
    play(*g, frame);
    hold(pf::vk::kEscape, frame == kPauseFrame);
    if (program.paused == 0 && g->Update() == 1) {
      std::fprintf(stderr, "the run ended at frame %d\n", frame);
      status = 1;
      break;
    }
    // Weapon power 3 once the ship has risen in (again after a lost life).
    if (g->playerstarttimer >= kEntryFrames && g->powerlevel < 3) g->powerlevel = 3;
    g->Draw();
    for (const Capture& c : kCaptures) {
      if (c.frame == frame) capture(c, frame);
    }
    pf::flip();
  }

  // The creature run: the ship only sweeps, and its lives are topped up so
  // that the enemies' fire cannot end the run before the last picture.
  if (lastFrame >= kLastFrame) {
    program = ProgramState{};
    pf::inputState().flushKeys();
    g = game::Create(1);
    g->gametimer = kCreatureStart;
    for (int frame = kCreatureStart + 1; frame <= kCreatureCaptures[std::size(kCreatureCaptures) - 1].frame; ++frame) {
      pf::installDisplayBackend(drawn(frame, renderSpan, kCreatureCaptures) ? display : nullptr);
      pf::inputState().setSuspended(false);
      play(*g, frame, false);
      g->lives = 3;
      if (g->Update() == 1) {
        std::fprintf(stderr, "the creature run ended at level frame %d\n", frame);
        status = 1;
        break;
      }
      g->Draw();
      for (const Capture& c : kCreatureCaptures) {
        if (c.frame == g->gametimer) capture(c, g->gametimer);
      }
      pf::flip();
    }
  }
  g.reset();
  pf::installDisplayBackend(display);
  pf::closeDisplay();
  pf::shutdownSdlBackends();
  return status;
}
