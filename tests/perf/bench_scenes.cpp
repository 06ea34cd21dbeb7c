#include "bench_scenes.hpp"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>

#include "enemies/boss.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "frontend/menu.hpp"
#include "game/game.hpp"
#include "game/game_frame.hpp"
#include "platform/backend.hpp"
#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "platform/sdl/sdl_display.hpp"
#include "ships/playerbase.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kTitleMenu = "title_menu";
constexpr int kCrabArrival = 11100 + 339;  // the crab is in place and attacking

void hold(int code, bool down) {
  pf::InputState& input = pf::inputState();
  if (down && !input.keyDown(code)) input.keyPressed(code);
  if (!down && input.keyDown(code)) input.keyReleased(code);
}

boss* findCrab(game& g) {
  boss* crab = nullptr;
  g.enemylist.forEach([&](enemybase& e) {
    if (e.isboss == 1) crab = static_cast<boss*>(&e);
  });
  return crab;
}

// One scene of a seeded run: the run is played undrawn from `fromFrame` up
// to the settling frames, then drawn; `steer` sets keys and state before
// every update (the frame number is the one about to be played).
struct GameScene {
  const char* name;
  int ship;
  int fromFrame;  // the level clock the run starts at
  int timedFrom;  // the first timed frame
  std::function<void(game&, int)> steer;
};

// Raises the power one level at a time, as pick-ups do.
void powerUpTo(game& g, int power) {
  while (g.powerlevel < power) {
    g.powerlevel += 1;
    g.p1->powerUpCollected();
  }
}

void fireAll(bool special) {
  hold(settings.fire1key, true);
  hold(settings.fire2key, true);
  hold(settings.fire3key, special);
}

// The crab fought from the middle of the water: the ship keeps its entry's
// invincibility and fires without pause; the crab is kept alive.
std::function<void(game&, int)> crabSteer(int clawsOffFrom, int frenzyFrom) {
  return [=](game& g, int frame) {
    fireAll(false);
    g.playerstarttimer = 100;
    powerUpTo(g, 3);
    g.p1->x = 400;
    g.p1->y = 480;
    boss* crab = findCrab(g);
    if (crab == nullptr) return;
    if (frame >= clawsOffFrom) crab->claw1energy = crab->claw2energy = 0;
    crab->energy = std::max(crab->energy, frame >= frenzyFrom ? 200.0f : 600.0f);
    if (frame >= frenzyFrom) crab->energy = std::min(crab->energy, 399.0f);
  };
}

std::vector<GameScene> gameScenes() {
  const int never = 1 << 30;
  return {
      {"shrimp_wave_ship1", 1, 0, 3300, [](game&, int) { fireAll(false); }},
      {"crab_claws", 1, 11099, kCrabArrival + 80, crabSteer(never, never)},
      {"crab_clawless", 1, 11099, kCrabArrival + 880, crabSteer(kCrabArrival + 700, never)},
      {"crab_frenzy", 1, 11099, kCrabArrival + 1230, crabSteer(kCrabArrival + 700, kCrabArrival + 1200)},
      // The special is set off on the first timed frame with the energy full.
      {"ship4_fire_bomb", 4, 0, 400,
       [](game& g, int frame) {
         powerUpTo(g, 5);
         if (frame == 400) g.bombs = 100;
         fireAll(frame == 400);
       }},
      {"ship5_special", 5, 0, 400,
       [](game& g, int frame) {
         powerUpTo(g, 5);
         if (frame == 400) g.bombs = 100;
         fireAll(frame >= 400);
       }},
      {"ship6_power5", 6, 0, 3300,
       [](game& g, int) {
         powerUpTo(g, 5);
         g.lives = 3;
         fireAll(false);
       }},
  };
}

class Timer {
 public:
  explicit Timer(pf::GlRenderer& renderer) : renderer_(renderer) {}
  void begin() {
    renderer_.finish();
    callsBefore_ = renderer_.drawCalls();
    start_ = Clock::now();
    frameStart_ = start_;
    cpuStart_ = processSeconds();
  }
  // After a frame's flip: waits for its pixels, books its time.
  void frameDone() {
    renderer_.finish();
    const Clock::time_point now = Clock::now();
    worst_ = std::max(worst_, std::chrono::duration<double, std::milli>(now - frameStart_).count());
    frameStart_ = now;
    const double cpu = processSeconds();
    frameCpuMs_.push_back((cpu - (frames_ == 0 ? cpuStart_ : cpuEnd_)) * 1000);
    cpuEnd_ = cpu;
    ++frames_;
  }
  SceneTiming result(const char* name) const {
    const double seconds = std::chrono::duration<double>(frameStart_ - start_).count();
    std::vector<double> sorted = frameCpuMs_;
    std::sort(sorted.begin(), sorted.end());
    return SceneTiming{std::string("scene_") + name,
                       frames_ / seconds,
                       worst_,
                       static_cast<double>(renderer_.drawCalls() - callsBefore_) / frames_,
                       (cpuEnd_ - cpuStart_) * 1000 / frames_,
                       sorted.empty() ? 0 : sorted[sorted.size() / 2]};
  }

 private:
  pf::GlRenderer& renderer_;
  uint64_t callsBefore_ = 0;
  Clock::time_point start_, frameStart_;
  double worst_ = 0;
  double cpuStart_ = 0, cpuEnd_ = 0;
  std::vector<double> frameCpuMs_;
  int frames_ = 0;
};

SceneTiming timeGameScene(pf::GlRenderer& renderer, const GameScene& scene, const SceneOptions& options) {
  pf::DisplayBackend* const display = pf::displayBackend();
  SeedRnd(7);
  program = ProgramState{};
  pf::inputState().flushKeys();
  std::unique_ptr<game> g = game::Create(scene.ship);
  g->gametimer = scene.fromFrame;
  g->invulnerable = true;
  Timer timer(renderer);
  const int settleFrom = std::max(scene.fromFrame + 1, scene.timedFrom - options.settleFrames);
  for (int frame = scene.fromFrame + 1; frame < scene.timedFrom + options.timedFrames; ++frame) {
    pf::installDisplayBackend(frame >= settleFrom ? display : nullptr);
    pf::inputState().setSuspended(false);
    if (frame == scene.timedFrom) {
      if (options.atTimedStart) options.atTimedStart();
      timer.begin();
    }
    scene.steer(*g, frame);
    playFrame(*g);
    if (frame >= scene.timedFrom) timer.frameDone();
  }
  pf::installDisplayBackend(display);
  pf::inputState().flushKeys();
  return timer.result(scene.name);
}

SceneTiming timeTitleMenu(pf::GlRenderer& renderer, const SceneOptions& options) {
  SeedRnd(7);
  program = ProgramState{};
  pf::inputState().flushKeys();
  std::unique_ptr<menu> m = menu::Create();
  Timer timer(renderer);
  for (int frame = 0; frame < options.settleFrames + options.timedFrames; ++frame) {
    if (frame == options.settleFrames) {
      if (options.atTimedStart) options.atTimedStart();
      timer.begin();
    }
    m->Update();
    pf::flip();
    if (frame >= options.settleFrames) timer.frameDone();
  }
  return timer.result(kTitleMenu);
}

}  // namespace

// Processor time of the whole process, the rasteriser's threads included:
// unlike the wall clock it hardly moves when other programs share the
// machine, so variants compare as ratios even under load.
double processSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::vector<std::string> sceneNames() {
  std::vector<std::string> names;
  for (const GameScene& scene : gameScenes()) names.emplace_back(scene.name);
  names.emplace_back(kTitleMenu);
  return names;
}

std::vector<SceneTiming> timeScenes(pf::GlRenderer& renderer, const SceneOptions& options) {
  pf::sdlDisplay()->setUnpaced(true);
  std::vector<SceneTiming> out;
  auto wanted = [&](const char* name) { return options.only.empty() || options.only == name; };
  for (const GameScene& scene : gameScenes()) {
    if (wanted(scene.name)) out.push_back(timeGameScene(renderer, scene, options));
  }
  if (wanted(kTitleMenu)) out.push_back(timeTitleMenu(renderer, options));
  pf::sdlDisplay()->setUnpaced(false);
  return out;
}
