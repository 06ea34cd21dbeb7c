#include "game/run_recording.hpp"

#include <climits>
#include <ctime>
#include <optional>

#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "game/gameplay_version.hpp"
#include "platform/input_tape.hpp"

namespace {

ReplaySettings steeringSettings() {
  ReplaySettings s;
  s.screenwidth = settings.screenwidth;
  s.screenheight = settings.screenheight;
  s.upkey = settings.upkey;
  s.downkey = settings.downkey;
  s.leftkey = settings.leftkey;
  s.rightkey = settings.rightkey;
  s.fire1key = settings.fire1key;
  s.fire2key = settings.fire2key;
  s.fire3key = settings.fire3key;
  s.usejoy = settings.usejoy;
  s.joystickport = settings.joystickport;
  s.jBombButton = settings.jBombButton;
  s.jfireLeftButton = settings.jfireLeftButton;
  s.jFireRightButton = settings.jFireRightButton;
  s.jThreshhold = settings.jThreshhold;
  s.jMoveXAxis = settings.jMoveXAxis;
  s.jMoveYAxis = settings.jMoveYAxis;
  return s;
}

void applySteeringSettings(const ReplaySettings& s) {
  settings.screenwidth = s.screenwidth;
  settings.screenheight = s.screenheight;
  settings.upkey = s.upkey;
  settings.downkey = s.downkey;
  settings.leftkey = s.leftkey;
  settings.rightkey = s.rightkey;
  settings.fire1key = s.fire1key;
  settings.fire2key = s.fire2key;
  settings.fire3key = s.fire3key;
  settings.usejoy = s.usejoy;
  settings.joystickport = s.joystickport;
  settings.jBombButton = s.jBombButton;
  settings.jfireLeftButton = s.jfireLeftButton;
  settings.jFireRightButton = s.jFireRightButton;
  settings.jThreshhold = s.jThreshhold;
  settings.jMoveXAxis = s.jMoveXAxis;
  settings.jMoveYAxis = s.jMoveYAxis;
}

// The player's own settings while a replay's are in force.
std::optional<ReplaySettings> playerSettings;

void seedRun(uint64_t seed) {
  SeedRnd(seed);
  SeedDrawRnd(seed);
}

RunEnd endOf(const game& g) {
  if (g.gamecompleted == 1) return RunEnd::completed;
  if (g.gamefailed == 1) return RunEnd::failed;
  if (g.quitnow == 1) return RunEnd::quit;
  if (g.lives < 0) return RunEnd::gameover;
  return RunEnd::unfinished;
}

}  // namespace

uint64_t newRunSeed() {
  const int high = Rand(0, INT_MAX);
  const int low = Rand(0, INT_MAX);
  return (static_cast<uint64_t>(high) << 31) | static_cast<uint64_t>(low);
}

std::unique_ptr<game> startRecordedRun(int ship, uint64_t seed) {
  seedRun(seed);
  pf::inputTape().record();
  std::unique_ptr<game> g = game::Create(ship);
  if (!g) pf::inputTape().stop();
  return g;
}

Replay finishRecordedRun(const game& g, uint64_t seed) {
  pf::InputTape& tape = pf::inputTape();
  Replay replay;
  replay.gameplayVersion = kGameplayVersion;
  replay.environment = numericEnvironment();
  replay.ship = g.p1->playertype;
  replay.seed = seed;
  replay.recordedAt = static_cast<int64_t>(std::time(nullptr));
  replay.settings = steeringSettings();
  replay.input = tape.runs();
  replay.result = runResult(g, static_cast<uint32_t>(tape.frameCount()));
  tape.stop();
  return replay;
}

std::unique_ptr<game> startReplay(const Replay& replay) {
  if (!playerSettings) playerSettings = steeringSettings();
  applySteeringSettings(replay.settings);
  seedRun(replay.seed);
  pf::inputTape().play(replay.input);
  std::unique_ptr<game> g = game::Create(replay.ship);
  if (!g) endReplay();
  return g;
}

void endReplay() {
  pf::inputTape().stop();
  if (playerSettings) applySteeringSettings(*playerSettings);
  playerSettings.reset();
}

std::string replayRefusal(const ReplayHeader& replay) {
  if (replay.gameplayVersion == kGameplayVersion) return "";
  return "it was recorded under gameplay version " + std::to_string(replay.gameplayVersion) +
         ", and this build plays version " + std::to_string(kGameplayVersion);
}

std::string environmentWarning(const ReplayHeader& replay) {
  const std::string here = numericEnvironment();
  if (replay.environment == here) return "";
  return "it was recorded by " + replay.environment + " and this build is " + here + ", so it may play differently";
}

ReplayResult runResult(const game& g, uint32_t frames) { return ReplayResult{g.score, g.killcount, endOf(g), frames}; }

std::string resultDifferences(const ReplayResult& recorded, const ReplayResult& replayed) {
  std::string out;
  auto compare = [&](const char* name, const std::string& was, const std::string& now) {
    if (was == now) return;
    if (!out.empty()) out += ", ";
    out += std::string(name) + " " + was + " -> " + now;
  };
  compare("score", std::to_string(recorded.score), std::to_string(replayed.score));
  compare("kills", std::to_string(recorded.killcount), std::to_string(replayed.killcount));
  compare("frames", std::to_string(recorded.frames), std::to_string(replayed.frames));
  compare("end", runEndName(recorded.end), runEndName(replayed.end));
  return out;
}
