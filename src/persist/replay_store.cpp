#include "persist/replay_store.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "persist/database.hpp"

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtension = ".ovr";

struct StoredRun {
  long number = 0;
  fs::path path;
};

// Files named "<number>-ship<N>.ovr", newest first.
std::vector<StoredRun> storedRuns(const fs::path& folder) {
  std::vector<StoredRun> runs;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    const fs::path& p = entry.path();
    if (p.extension() != kExtension) continue;
    const std::string name = p.filename().string();
    char* end = nullptr;
    const long number = std::strtol(name.c_str(), &end, 10);
    if (end == name.c_str() || *end != '-') continue;
    runs.push_back(StoredRun{number, p});
  }
  std::sort(runs.begin(), runs.end(), [](const StoredRun& a, const StoredRun& b) { return a.number > b.number; });
  return runs;
}

// A run's ship and gameplay version.
using Kind = std::pair<int, uint32_t>;

// The best run of each ship and gameplay version: the highest score, the
// earliest of equal ones. Only the headers are read: choosing needs the
// ship, the version and the score, never the frames.
std::map<Kind, const StoredRun*> bestRuns(const std::vector<StoredRun>& runs) {
  std::map<Kind, std::pair<int64_t, const StoredRun*>> best;
  for (const StoredRun& run : runs) {
    const ReplayRead read = readReplayFile(run.path.string(), ReplayPart::header);
    if (!read.ok) continue;
    const Replay& r = read.replay;
    const Kind kind{r.ship, r.gameplayVersion};
    auto it = best.find(kind);
    if (it == best.end() || r.result.score >= it->second.first) best[kind] = {r.result.score, &run};
  }
  std::map<Kind, const StoredRun*> chosen;
  for (const auto& [kind, scoreAndRun] : best) chosen[kind] = scoreAndRun.second;
  return chosen;
}

void prune(const std::vector<StoredRun>& runs) {
  std::map<long, bool> keep;
  for (size_t i = 0; i < runs.size(); ++i) keep[runs[i].number] = i < static_cast<size_t>(kRecentReplaysKept);
  for (const auto& [kind, run] : bestRuns(runs)) keep[run->number] = true;
  for (const StoredRun& run : runs) {
    if (!keep[run.number]) {
      std::error_code ec;
      fs::remove(run.path, ec);
    }
  }
}

}  // namespace

std::string replaysFolder() {
  const std::string db = settingsDb.path();
  if (db.empty()) return "replays";
  return (fs::path(db).parent_path() / "replays").string();
}

std::string bestStoredReplay(const std::string& folder, int ship, uint32_t gameplayVersion) {
  const std::vector<StoredRun> runs = storedRuns(folder);
  const std::map<Kind, const StoredRun*> best = bestRuns(runs);
  const auto it = best.find(Kind{ship, gameplayVersion});
  return it == best.end() ? "" : it->second->path.string();
}

bool storeReplay(const std::string& folder, const Replay& replay, std::string* path, std::string* error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    *error = "cannot make the folder " + folder + ": " + ec.message();
    return false;
  }
  const std::vector<StoredRun> runs = storedRuns(folder);
  const long number = runs.empty() ? 1 : runs.front().number + 1;
  char name[64];
  std::snprintf(name, sizeof name, "%06ld-ship%d%s", number, replay.ship, kExtension);
  *path = (fs::path(folder) / name).string();
  if (!writeReplayFile(*path, replay, error)) return false;
  prune(storedRuns(folder));
  return true;
}
