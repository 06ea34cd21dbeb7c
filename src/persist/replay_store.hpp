#pragma once
// The folder of recorded runs beside the database: numbered files, newest
// highest, of which the best run of each ship and the 50 most recent stay.
#include <string>

#include "persist/replay_file.hpp"

constexpr int kRecentReplaysKept = 50;

// "replays" in the folder of the open database ("replays" when none is open).
std::string replaysFolder();

// The stored run of the ship with the highest score (the earliest of equal
// ones) among those of the gameplay version; "" when there is none.
std::string bestStoredReplay(const std::string& folder, int ship, uint32_t gameplayVersion);

// Writes the replay as the folder's newest file (creating the folder), then
// deletes every run that is neither among the 50 most recent nor the best of
// its ship and gameplay version (a new version does not lose the best run
// it can play to the best of an old one). `path` receives the new file's name. False with a message when
// the file could not be written.
bool storeReplay(const std::string& folder, const Replay& replay, std::string* path, std::string* error);
