#pragma once
// Recording a run and playing one back. A run is defined by its ship, its
// seed, the settings that say which inputs it reads, and the input it read
// each frame; both generators are seeded from the seed, so the run, its
// drawing and its pauses play exactly as they did.
#include <cstdint>
#include <memory>
#include <string>

#include "persist/replay_file.hpp"

class game;

// A fresh seed for a run, drawn from the program's generator (seeded from the
// clock at start-up).
uint64_t newRunSeed();

// Seeds both generators and creates the run with the input tape recording.
std::unique_ptr<game> startRecordedRun(int ship, uint64_t seed);
// The replay of the run just played, every frame the tape kept; the tape
// stops.
Replay finishRecordedRun(const game& g, uint64_t seed);

// Puts the replay's settings in force (keeping the player's until
// `endReplay`), seeds the generators and creates the run with the tape
// playing the recorded input back. Null when the ship does not exist.
std::unique_ptr<game> startReplay(const Replay& replay);
// Stops the tape and gives the player's settings back.
void endReplay();

// Why this build cannot play the replay as it was played (it was recorded
// under another gameplay version), or "" when it can.
std::string replayRefusal(const ReplayHeader& replay);
// A warning when the replay was recorded in another numeric environment
// (compiler, architecture, float settings), where it may play differently;
// "" when the environments agree.
std::string environmentWarning(const ReplayHeader& replay);

ReplayResult runResult(const game& g, uint32_t frames);
// The values that differ, as "score 1200 -> 1150, kills 10 -> 9"; empty when
// the results agree.
std::string resultDifferences(const ReplayResult& recorded, const ReplayResult& replayed);
