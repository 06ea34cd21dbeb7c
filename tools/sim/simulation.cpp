#include "simulation.hpp"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <memory>
#include <vector>

#include "app/asset_loader.hpp"
#include "app/asset_store.hpp"
#include "autopilot.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "input_script.hpp"
#include "json_writer.hpp"
#include "platform/headless/headless_backend.hpp"
#include "platform/platform.hpp"

namespace {

void addListCounts(game& g, JsonObject& object) {
  object.add("enemies", static_cast<int64_t>(g.enemylist.size()))
      .add("bullets", static_cast<int64_t>(g.bulletlist.size()))
      .add("missiles", static_cast<int64_t>(g.missilelist.size()))
      .add("particles", static_cast<int64_t>(g.particlelist.size()))
      .add("explosions", static_cast<int64_t>(g.explosionlist.size()));
}

// `before` holds the weapons' tally of the previous frame and takes this one's.
std::string traceLine(game& g, ShotTally& before) {
  JsonObject line;
  line.add("gametimer", g.gametimer)
      .add("score", static_cast<int64_t>(g.score))
      .add("killcount", g.killcount)
      .add("lives", g.lives)
      .add("multiplier", g.multiplier)
      .add("powerlevel", g.powerlevel)
      .add("bombs", g.bombs);
  addListCounts(g, line);
  line.add("bubbles", static_cast<int64_t>(g.bubblelist.size()))
      .add("texts", static_cast<int64_t>(g.textlist.size()))
      .add("blood", static_cast<int64_t>(g.bloodlist.size()))
      .add("powerrings", static_cast<int64_t>(g.powerringlist.size()))
      .add("fires", static_cast<int64_t>(g.firelist.size()))
      .add("bonuses", static_cast<int64_t>(g.bonuslist.size()))
      .add("plankton", static_cast<int64_t>(g.planktonlist.size()));
  const ShotTally& now = g.shotsCreated;
  line.add("x", static_cast<double>(g.p1->x))
      .add("y", static_cast<double>(g.p1->y))
      .add("rotation", static_cast<double>(g.p1->rotation))
      .add("new_bullets", now.bullets - before.bullets)
      .add("new_missiles", now.missiles - before.missiles)
      .add("new_beams", now.beams - before.beams)
      .add("new_rings", now.rings - before.rings)
      .add("new_fires", now.fires - before.fires);
  before = now;
  return line.str();
}

// Processor time this thread has used: unlike the wall clock it does not run
// while other programs have the processor, so it measures the frames alone.
double threadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

bool runSimulation(const SimOptions& options, std::string* json, std::string* error) {
  pf::installHeadless();
  settings = Settings{};
  program = ProgramState{};
  registerAssetStore();
  loadGameAssets();

  InputScript script;
  if (!options.inputFile.empty() && !script.load(options.inputFile, error)) return false;
  if (options.bot == "fire") script.holdFrom(1, settings.fire1key);
  std::unique_ptr<Autopilot> autopilot;
  if (options.bot == "autopilot") autopilot = std::make_unique<Autopilot>();

  std::ofstream trace;
  if (!options.traceFile.empty()) {
    trace.open(options.traceFile);
    if (!trace) {
      *error = "cannot write trace file " + options.traceFile;
      return false;
    }
  }

  SeedRnd(options.seed);
  std::unique_ptr<game> g = game::Create(options.ship);
  if (!g) {
    *error = "there is no ship " + std::to_string(options.ship);
    return false;
  }

  using Clock = std::chrono::steady_clock;
  Clock::duration busy{};
  Clock::duration slowest{};
  double cpuBusy = 0;
  const long long limit = options.untilEnd ? kUntilEndCap : options.frames;
  long long frame = 0;
  bool ended = false;
  ShotTally tallied;
  while (frame < limit && !ended) {
    ++frame;
    script.apply(static_cast<int>(frame));
    if (autopilot) autopilot->steer(*g);
    const Clock::time_point start = Clock::now();
    const double cpuStart = options.bench ? threadSeconds() : 0;
    if (program.paused == 0) ended = g->Update() == 1;
    g->Draw();
    if (options.bench) cpuBusy += threadSeconds() - cpuStart;
    const Clock::duration took = Clock::now() - start;
    busy += took;
    slowest = std::max(slowest, took);
    pf::flip();
    if (trace) trace << traceLine(*g, tallied) << "\n";
  }

  std::vector<int> achievements;
  for (int i = 0; i < static_cast<int>(program.achievementFlags.size()); ++i) {
    if (program.achievementFlags[static_cast<size_t>(i)] == 1) achievements.push_back(i);
  }
  JsonObject out;
  out.add("ship", options.ship)
      .add("seed", static_cast<int64_t>(options.seed))
      .add("frames", static_cast<int64_t>(frame))
      .add("gametimer", g->gametimer)
      .add("score", static_cast<int64_t>(g->score))
      .add("killcount", g->killcount)
      .add("multiplier", g->multiplier)
      .add("powerlevel", g->powerlevel)
      .add("lives", g->lives)
      .add("bombs", g->bombs)
      .add("bosstimer", g->bosstimer)
      .add("bossdead", g->bossdead)
      .add("timeup", g->timeup)
      .add("gamecompleted", g->gamecompleted)
      .add("gamefailed", g->gamefailed)
      .add("gotperfect", g->gotperfect)
      .add("jellycount", g->jellycount)
      .add("totalpowerups", g->totalpowerups)
      .add("mins", g->mins)
      .add("secs", g->secs)
      .add("quitnow", g->quitnow)
      .add("ended", ended)
      .add("achievements", achievements);
  addListCounts(*g, out);
  if (options.bench) {
    const double seconds = std::chrono::duration<double>(busy).count();
    out.add("frames_per_second", seconds > 0 ? static_cast<double>(frame) / seconds : 0.0)
        .add("max_frame_us", std::chrono::duration<double, std::micro>(slowest).count())
        .add("cpu_frames_per_second", cpuBusy > 0 ? static_cast<double>(frame) / cpuBusy : 0.0);
  }
  *json = out.str();
  return true;
}
