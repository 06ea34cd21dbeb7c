// ovelune-sim: runs one session on the headless backend and prints its state
// as one JSON object.
//
//   ovelune-sim --ship N --seed S (--frames F | --until-end) [--input FILE]
//               [--bot none|fire|autopilot] [--trace FILE] [--bench] [--invulnerable]
//               [--ceasefire FRAME] [--record FILE]
//   ovelune-sim --replay FILE [--trace FILE] [--bench]
//
// --replay verifies a recorded run: it exits with status 3 and says what
// differs when the run does not end as recorded; with --bench it times the
// recorded frames alone, as the benchmark does for whole autopilot runs.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "simulation.hpp"

namespace {

void usage() {
  std::cerr << "usage: ovelune-sim --ship N --seed S (--frames F | --until-end) [--input FILE]\n"
               "                   [--bot none|fire|autopilot] [--trace FILE] [--bench] [--invulnerable]\n"
               "                   [--ceasefire FRAME] [--record FILE]\n"
               "       ovelune-sim --replay FILE [--trace FILE] [--bench]\n";
}

bool parseInt(const char* text, long long* out) {
  char* end = nullptr;
  *out = std::strtoll(text, &end, 10);
  return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  bool haveLength = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    long long number = 0;
    if (arg == "--ship" && hasValue && parseInt(argv[i + 1], &number)) {
      options.ship = static_cast<int>(number);
      ++i;
    } else if (arg == "--seed" && hasValue && parseInt(argv[i + 1], &number)) {
      options.seed = static_cast<uint64_t>(number);
      ++i;
    } else if (arg == "--frames" && hasValue && parseInt(argv[i + 1], &number) && number >= 0) {
      options.frames = number;
      haveLength = true;
      ++i;
    } else if (arg == "--until-end") {
      options.untilEnd = true;
      haveLength = true;
    } else if (arg == "--input" && hasValue) {
      options.inputFile = argv[++i];
    } else if (arg == "--trace" && hasValue) {
      options.traceFile = argv[++i];
    } else if (arg == "--bot" && hasValue) {
      options.bot = argv[++i];
      if (options.bot != "none" && options.bot != "fire" && options.bot != "autopilot") {
        std::cerr << "ovelune-sim: unknown bot '" << options.bot << "'\n";
        return 2;
      }
    } else if (arg == "--bench") {
      options.bench = true;
    } else if (arg == "--ceasefire" && hasValue && parseInt(argv[i + 1], &number) && number >= 0) {
      options.ceasefire = static_cast<int>(number);
      ++i;
    } else if (arg == "--replay" && hasValue) {
      options.replayFile = argv[++i];
      haveLength = true;
    } else if (arg == "--record" && hasValue) {
      options.recordFile = argv[++i];
    } else if (arg == "--invulnerable") {
      options.invulnerable = true;
    } else {
      std::cerr << "ovelune-sim: bad argument '" << arg << "'\n";
      usage();
      return 2;
    }
  }
  if (!haveLength) {
    usage();
    return 2;
  }
  std::string error;
  std::string json;
  std::string mismatch;
  if (!runSimulation(options, &json, &error, &mismatch)) {
    std::cerr << "ovelune-sim: " << error << "\n";
    return 1;
  }
  std::cout << json << "\n";
  if (!mismatch.empty()) {
    std::cerr << "ovelune-sim: the replay does not end as recorded: " << mismatch
              << ". The game plays differently from the build that recorded it: if that change of play is meant,"
                 " bump kGameplayVersion (src/game/gameplay_version.hpp) and record the golden replays again"
                 " (make golden) in the same commit\n";
    return 3;
  }
  return 0;
}
