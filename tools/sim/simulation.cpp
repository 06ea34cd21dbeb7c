#include "simulation.hpp"

#include <cxxabi.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "app/asset_loader.hpp"
#include "autopilot.hpp"
#include "enemies/boss.hpp"
#include "essentials/program_reset.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "game/game_frame.hpp"
#include "game/run_recording.hpp"
#include "input_script.hpp"
#include "json_writer.hpp"
#include "persist/replay_file.hpp"
#include "platform/headless/headless_backend.hpp"
#include "platform/input_tape.hpp"
#include "platform/platform.hpp"

namespace {

using ClassCounts = std::map<std::string, int64_t>;

// The class name as the game names it (every enemy class is named so).
std::string demangled(const char* mangled) {
  int status = 0;
  char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string name = status == 0 && plain != nullptr ? plain : mangled;
  std::free(plain);
  return name;
}

std::string className(const enemybase& e) { return demangled(typeid(e).name()); }

ClassCounts liveEnemies(game& g) {
  ClassCounts counts;
  g.enemylist.forEach([&](enemybase& e) { counts[className(e)] += 1; });
  return counts;
}

bool finite(float v) { return std::isfinite(v); }

// The first enemy whose position or hit box is not finite, or null. A NaN
// coordinate makes every overlap test report a hit, so a box far off the
// field catches NaN in segmented hit areas too.
enemybase* brokenEnemy(game& g) {
  const Rect farAway{-1e7f, -1e7f, 1, 1};
  enemybase* broken = nullptr;
  g.enemylist.forEach([&](enemybase& e) {
    if (broken != nullptr) return;
    const Rect& r = e.collrect;
    const bool ok = finite(e.x) && finite(e.y) && finite(r.x) && finite(r.y) && finite(r.w) && finite(r.h) &&
                    e.checkcollisions(farAway) == 0;
    if (!ok) broken = &e;
  });
  return broken;
}

void addListCounts(game& g, JsonObject& object) {
  object.add("enemies", static_cast<int64_t>(g.enemylist.size()))
      .add("bullets", static_cast<int64_t>(g.bulletlist.size()))
      .add("missiles", static_cast<int64_t>(g.missilelist.size()))
      .add("particles", static_cast<int64_t>(g.particlelist.size()))
      .add("explosions", static_cast<int64_t>(g.explosionlist.size()));
}

// The crab's state after the frame, while it is on the field.
void addBoss(game& g, JsonObject& line) {
  const boss* crab = nullptr;
  g.enemylist.forEach([&](enemybase& e) {
    if (crab == nullptr && e.isboss == 1) crab = dynamic_cast<const boss*>(&e);
  });
  if (crab == nullptr) return;
  JsonObject state;
  state.add("x", crab->x)
      .add("y", crab->y)
      .add("energy", crab->energy)
      .add("claw1energy", crab->claw1energy)
      .add("claw2energy", crab->claw2energy)
      .add("attacktimer", crab->attacktimer)
      .add("attackpattern", crab->attackpattern)
      .add("attackphase", crab->attackphase)
      .add("moving", crab->moving)
      .add("pausetimer", crab->pausetimer);
  line.add("boss", state);
}

// `before` holds the weapons' tally of the previous frame and takes this one's.
std::string traceLine(game& g, const std::vector<std::string>& newTexts, ShotTally& before) {
  JsonObject line;
  line.add("gametimer", g.gametimer)
      .add("score", static_cast<int64_t>(g.score))
      .add("killcount", g.killcount)
      .add("lives", g.lives)
      .add("multiplier", g.multiplier)
      .add("powerlevel", g.powerlevel)
      .add("bombs", g.bombs);
  addListCounts(g, line);
  line.add("enemies_by_class", liveEnemies(g))
      .add("texts", newTexts)
      .add("bubbles", static_cast<int64_t>(g.bubblelist.size()))
      .add("textlist", static_cast<int64_t>(g.textlist.size()))
      .add("blood", static_cast<int64_t>(g.bloodlist.size()))
      .add("powerrings", static_cast<int64_t>(g.powerringlist.size()))
      .add("fires", static_cast<int64_t>(g.firelist.size()))
      .add("bonuses", static_cast<int64_t>(g.bonuslist.size()))
      .add("plankton", static_cast<int64_t>(g.planktonlist.size()));
  addBoss(g, line);
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

bool runSimulation(const SimOptions& optionsGiven, std::string* json, std::string* error, std::string* mismatch) {
  SimOptions options = optionsGiven;
  Replay replay;
  if (!options.replayFile.empty()) {
    ReplayRead read = readReplayFile(options.replayFile);
    if (!read.ok) {
      *error = read.error;
      return false;
    }
    replay = std::move(read.replay);
    if (const std::string refusal = replayRefusal(replay); !refusal.empty()) {
      *error = options.replayFile + ": " + refusal + ": record it again (make golden) if the change of play was meant";
      return false;
    }
    if (const std::string warning = environmentWarning(replay); !warning.empty()) {
      std::fprintf(stderr, "ovelune-sim: note: %s: %s\n", options.replayFile.c_str(), warning.c_str());
    }
    options.ship = replay.ship;
    options.seed = replay.seed;
    options.frames = static_cast<long long>(replay.result.frames);
    options.untilEnd = false;
  }
  pf::installHeadless();
  requireGameAssets();

  InputScript script;
  if (!options.inputFile.empty() && !script.load(options.inputFile, error)) return false;
  if (options.bot == "fire") script.holdFrom(1, settings.fire1key);
  std::unique_ptr<Autopilot> autopilot;
  if (options.bot == "autopilot") {
    autopilot = std::make_unique<Autopilot>();
    autopilot->ceasefire = options.ceasefire;
  }

  std::ofstream trace;
  if (!options.traceFile.empty()) {
    trace.open(options.traceFile);
    if (!trace) {
      *error = "cannot write trace file " + options.traceFile;
      return false;
    }
  }

  resetProgramState(options.seed);
  std::unique_ptr<game> g;
  if (!options.replayFile.empty()) {
    g = startReplay(replay);
  } else if (!options.recordFile.empty()) {
    g = startRecordedRun(options.ship, options.seed);
  } else {
    g = game::Create(options.ship);
  }
  if (!g) {
    *error = "there is no ship " + std::to_string(options.ship);
    return false;
  }
  g->invulnerable = options.invulnerable;
  // Counted by type during the run (no names, no allocation per spawn), named at the end.
  std::unordered_map<std::type_index, int64_t> spawnedByType;
  g->enemylist.onAdd = [&](enemybase& e) {
    spawnedByType[std::type_index(typeid(e))] += 1;
    if (autopilot) autopilot->arrived(e);
  };
  std::vector<std::string> newTexts;
  g->textlist.onAdd = [&](Text& t) { newTexts.push_back(t.message); };

  using Clock = std::chrono::steady_clock;
  Clock::duration busy{};
  Clock::duration slowest{};
  double cpuBusy = 0;
  const long long limit = options.untilEnd ? kUntilEndCap : options.frames;
  long long frame = 0;
  bool ended = false;
  ShotTally tallied;
  // A timed replay has nothing to do between its frames, so the processor
  // clock is read once around them all (a reading costs about a thirtieth of
  // a frame) and the check for broken enemies, already made when the run was
  // recorded, is left out. Other runs read it around every frame.
  const bool timedReplay = options.bench && !options.replayFile.empty() && !trace.is_open();
  const bool timedFrames = options.bench && !timedReplay;
  const double loopCpuStart = timedReplay ? threadSeconds() : 0;
  while (frame < limit && !ended) {
    ++frame;
    script.apply(static_cast<int>(frame));
    if (autopilot) autopilot->steer(*g);
    const Clock::time_point start = Clock::now();
    const double cpuStart = timedFrames ? threadSeconds() : 0;
    ended = playFrame(*g) == 1;
    if (timedFrames) cpuBusy += threadSeconds() - cpuStart;
    const Clock::duration took = Clock::now() - start;
    busy += took;
    slowest = std::max(slowest, took);
    if (timedReplay) continue;
    if (trace.is_open()) trace << traceLine(*g, newTexts, tallied) << "\n";
    newTexts.clear();
    if (enemybase* broken = brokenEnemy(*g)) {
      *error = "frame " + std::to_string(frame) + ": a " + className(*broken) +
               " has a position or hit box that is not a finite number";
      return false;
    }
  }

  if (timedReplay) cpuBusy = threadSeconds() - loopCpuStart;

  if (!options.replayFile.empty()) {
    const std::string divergence = pf::inputTape().divergence();
    endReplay();
    const std::string differences = resultDifferences(replay.result, runResult(*g, static_cast<uint32_t>(frame)));
    if (!differences.empty() || !divergence.empty()) {
      *mismatch = differences.empty() ? divergence : differences + (divergence.empty() ? "" : " (" + divergence + ")");
    }
  }
  if (!options.recordFile.empty()) {
    const Replay recorded = finishRecordedRun(*g, options.seed);
    if (!writeReplayFile(options.recordFile, recorded, error)) return false;
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
      .addText("end", runEndName(runResult(*g, 0).end))
      .add("achievements", achievements);
  addListCounts(*g, out);
  ClassCounts spawned;
  for (const auto& [type, count] : spawnedByType) spawned[demangled(type.name())] += count;
  out.add("spawned", spawned);
  if (options.bench) {
    const double seconds = std::chrono::duration<double>(busy).count();
    out.add("frames_per_second", seconds > 0 ? static_cast<double>(frame) / seconds : 0.0)
        .add("max_frame_us", std::chrono::duration<double, std::micro>(slowest).count())
        .add("cpu_frames_per_second", cpuBusy > 0 ? static_cast<double>(frame) / cpuBusy : 0.0);
  }
  *json = out.str();
  return true;
}
