#include "bench_scenes.hpp"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>

#include "enemies/boss.hpp"
#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
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

// Every scene starts from the same program state, so that each play of it
// gives the same frames (the drawing generator and the rock sway included).
void startFresh() {
  SeedRnd(7);
  SeedDrawRnd(7);
  resetRockSway();
  forgetSkippedFades();
  program = ProgramState{};
  pf::inputState().flushKeys();
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
  SceneTiming result(const std::string& name) const {
    const double seconds = std::chrono::duration<double>(frameStart_ - start_).count();
    std::vector<double> sorted = frameCpuMs_;
    std::sort(sorted.begin(), sorted.end());
    return SceneTiming{"scene_" + name,
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

// A seeded run, played undrawn (no display) up to the drawn frames.
class GameSceneRun final : public SceneRun {
 public:
  GameSceneRun(const GameScene& scene, int drawnBefore) : scene_(scene), display_(pf::displayBackend()) {
    startFresh();
    g_ = game::Create(scene.ship);
    g_->gametimer = scene.fromFrame;
    g_->invulnerable = true;
    frame_ = scene.fromFrame + 1;
    pf::installDisplayBackend(nullptr);
    for (; frame_ < std::max(scene.fromFrame + 1, scene.timedFrom - drawnBefore); ++frame_) play();
    pf::installDisplayBackend(display_);
  }
  ~GameSceneRun() override { pf::inputState().flushKeys(); }
  void frame() override {
    play();
    ++frame_;
  }

 private:
  void play() {
    pf::inputState().setSuspended(false);
    scene_.steer(*g_, frame_);
    playFrame(*g_);
  }
  GameScene scene_;
  pf::DisplayBackend* display_;
  std::unique_ptr<game> g_;
  int frame_ = 0;
};

class MenuSceneRun final : public SceneRun {
 public:
  MenuSceneRun() {
    startFresh();
    menu_ = menu::Create();
  }
  void frame() override {
    menu_->Update();
    pf::flipKeepingTime();
  }

 private:
  std::unique_ptr<menu> menu_;
};

SceneTiming timeScene(pf::GlRenderer& renderer, const std::string& name, const SceneOptions& options) {
  std::unique_ptr<SceneRun> run = startScene(name, options.settleFrames);
  for (int i = 0; i < options.settleFrames; ++i) run->frame();
  if (options.atTimedStart) options.atTimedStart();
  Timer timer(renderer);
  timer.begin();
  for (int i = 0; i < options.timedFrames; ++i) {
    run->frame();
    timer.frameDone();
  }
  return timer.result(name);
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

std::unique_ptr<SceneRun> startScene(const std::string& name, int drawnBefore) {
  for (const GameScene& scene : gameScenes()) {
    if (name == scene.name) return std::make_unique<GameSceneRun>(scene, drawnBefore);
  }
  return std::make_unique<MenuSceneRun>();
}

std::vector<SceneTiming> timeScenes(pf::GlRenderer& renderer, const SceneOptions& options) {
  pf::sdlDisplay()->setUnpaced(true);
  std::vector<SceneTiming> out;
  for (const std::string& name : sceneNames()) {
    if (options.only.empty() || options.only == name) out.push_back(timeScene(renderer, name, options));
  }
  pf::sdlDisplay()->setUnpaced(false);
  return out;
}
