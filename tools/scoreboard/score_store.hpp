#pragma once
// Where the scoreboard keeps its submissions and the uploaded replays that
// prove them: SQLite for one machine, PostgreSQL when several server
// processes share one database (and its queue of replays to verify).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Which runs the lists show: only runs whose replay the server verified
// (the default), or every plain submission as the game's protocol sends them.
enum class ListingPolicy { verified, all };

struct RankedEntry {
  std::string name;  // UTF-8, as stored
  int64_t score = 0;
  int64_t at = 0;         // when the name first reached the score, seconds since 1970
  bool verified = false;  // a verified replay reached that score
  int64_t runId = 0;      // the verified run's replay (0: none)
};

// An uploaded replay waiting to be verified, as a worker claims it.
struct RunJob {
  int64_t id = 0;
  int ship = 0;
  int64_t claimed = 0;  // the score the upload claims
  std::vector<uint8_t> replay;
  int attempt = 0;  // the claim; only the latest claim's verdict counts
};

// A worker's verdict on a run.
struct RunVerdict {
  bool verified = false;
  int64_t score = 0;   // the score the replay plays to
  std::string reason;  // why it is not verified
};

enum class RunState { unknown, queued, checking, verified, rejected };

class ScoreStore {
 public:
  virtual ~ScoreStore() = default;
  // Records one plain submission durably before returning. Throws on failure.
  virtual void submit(int ship, const std::string& name, int64_t score) = 0;
  // The ship's ranking under the policy, best first: each name once with its
  // best score, ties going to the name that reached that score first. Throws
  // on failure.
  virtual std::vector<RankedEntry> best(int ship, int limit, ListingPolicy policy) = 0;
  // Every plain submission ever made for the ship (the log, not the ranking).
  virtual int64_t submissions(int ship) = 0;

  // Queues an uploaded replay for verification. Its id, or nothing when
  // `maxQueued` runs already wait (the queue is full).
  virtual std::optional<int64_t> addRun(int ship, const std::string& name, int64_t claimed,
                                        const std::vector<uint8_t>& replay, int maxQueued) = 0;
  // The oldest run waiting, or one whose check was claimed more than
  // `staleSeconds` ago and never finished (its worker died), marked as being
  // checked; nothing when none waits. Two workers never hold one claim.
  virtual std::optional<RunJob> claimRun(int staleSeconds) = 0;
  // Records the verdict of a claim; a later claim of the same run has made
  // this one void, and its verdict is dropped. A verified run enters its
  // name's verified best.
  virtual void finishRun(const RunJob& job, const RunVerdict& verdict) = 0;
  virtual RunState runState(int64_t id) = 0;
  // The replay of a verified run; nothing for any other.
  virtual std::optional<std::vector<uint8_t>> verifiedReplay(int64_t id) = 0;
  // The ship's best verified run, nothing when it has none.
  virtual std::optional<int64_t> bestVerifiedRun(int ship) = 0;
  // Runs waiting or being checked.
  virtual int64_t pendingRuns() = 0;
};

// "postgresql://..." or "postgres://..." opens PostgreSQL, anything else is
// an SQLite file. Creates the schema when it is missing. Throws on failure.
std::unique_ptr<ScoreStore> openScoreStore(const std::string& db);

std::unique_ptr<ScoreStore> openSqliteStore(const std::string& file);
std::unique_ptr<ScoreStore> openPostgresStore(const std::string& uri);
