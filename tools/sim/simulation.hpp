#pragma once
#include <cstdint>
#include <string>

struct SimOptions {
  int ship = 1;
  uint64_t seed = 1;
  long long frames = 0;
  bool untilEnd = false;
  std::string inputFile;
  std::string traceFile;
  std::string bot = "none";
  bool bench = false;
  // The ship cannot lose a life.
  bool invulnerable = false;
  // The autopilot stops firing from this game frame on (0: never).
  int ceasefire = 0;
  // Plays this replay back (ship, seed and input come from it) and checks
  // that it ends as recorded.
  std::string replayFile;
  // Writes the run as a replay file at the end.
  std::string recordFile;
};

// A run stopped by --until-end ends here at the latest.
constexpr long long kUntilEndCap = 30000;

// Runs the session and fills `json` with its final state; false with a
// message when the run cannot start or an enemy's position or hit box stops
// being a finite number. A replay that ends otherwise than recorded still
// fills `json`, and says what differs in `mismatch`.
bool runSimulation(const SimOptions& options, std::string* json, std::string* error, std::string* mismatch);
