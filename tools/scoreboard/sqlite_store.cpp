// The embedded store: one SQLite file in WAL mode with full sync, so an
// acknowledged submission or upload survives a crash of the server or the
// machine. One process uses it; its requests and workers take turns.
#include <SQLiteCpp/SQLiteCpp.h>

#include <mutex>

#include "score_store.hpp"
#include "store_schema.hpp"

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS submissions (id INTEGER PRIMARY KEY AUTOINCREMENT, ship INTEGER NOT NULL, "
    "name TEXT NOT NULL, score INTEGER NOT NULL, at INTEGER NOT NULL DEFAULT (strftime('%s','now')));"
    "CREATE TABLE IF NOT EXISTS best (ship INTEGER NOT NULL, name TEXT NOT NULL, score INTEGER NOT NULL, "
    "first_id INTEGER NOT NULL, PRIMARY KEY (ship, name));"
    "CREATE INDEX IF NOT EXISTS best_rank ON best (ship, score DESC, first_id);"
    "CREATE TABLE IF NOT EXISTS runs (id INTEGER PRIMARY KEY AUTOINCREMENT, ship INTEGER NOT NULL, "
    "name TEXT NOT NULL, claimed INTEGER NOT NULL, replay BLOB NOT NULL, state TEXT NOT NULL DEFAULT 'queued', "
    "attempt INTEGER NOT NULL DEFAULT 0, claimed_at INTEGER, checks INTEGER NOT NULL DEFAULT 0, score INTEGER, "
    "reason TEXT, at INTEGER NOT NULL DEFAULT (strftime('%s','now')));"
    "CREATE INDEX IF NOT EXISTS runs_waiting ON runs (state, id);"
    "CREATE TABLE IF NOT EXISTS verified_best (ship INTEGER NOT NULL, name TEXT NOT NULL, score INTEGER NOT NULL, "
    "run_id INTEGER NOT NULL, PRIMARY KEY (ship, name));"
    "CREATE INDEX IF NOT EXISTS verified_rank ON verified_best (ship, score DESC, run_id);";

class SqliteStore final : public ScoreStore {
 public:
  explicit SqliteStore(const std::string& file)
      : db_(file, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE | SQLite::OPEN_FULLMUTEX, 5000) {
    db_.exec("PRAGMA journal_mode=WAL");
    db_.exec("PRAGMA synchronous=FULL");
    db_.exec(kSchema);
  }

  void submit(int ship, const std::string& name, int64_t score) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Transaction transaction(db_, SQLite::TransactionBehavior::IMMEDIATE);
    SQLite::Statement log(db_, "INSERT INTO submissions (ship, name, score) VALUES (?, ?, ?)");
    bindAll(log, ship, name, score);
    log.exec();
    SQLite::Statement rank(db_, schema::kRaiseBest);
    bindAll(rank, ship, name, score, db_.getLastInsertRowid());
    rank.exec();
    transaction.commit();
  }

  std::vector<RankedEntry> best(int ship, int limit, ListingPolicy policy) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Statement query(db_, policy == ListingPolicy::verified ? schema::verifiedList(schema::Dialect::sqlite)
                                                                   : schema::plainList(schema::Dialect::sqlite));
    bindAll(query, ship, limit);
    std::vector<RankedEntry> out;
    while (query.executeStep()) {
      const int64_t run = query.getColumn(3).isNull() ? 0 : query.getColumn(3).getInt64();
      out.push_back({query.getColumn(0).getString(), query.getColumn(1).getInt64(), query.getColumn(2).getInt64(),
                     run != 0, run});
    }
    return out;
  }

  int64_t submissions(int ship) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Statement query(db_, "SELECT count(*) FROM submissions WHERE ship = ?");
    query.bind(1, ship);
    query.executeStep();
    return query.getColumn(0).getInt64();
  }

  std::optional<int64_t> addRun(int ship, const std::string& name, int64_t claimed, const std::vector<uint8_t>& replay,
                                int maxQueued) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Transaction transaction(db_, SQLite::TransactionBehavior::IMMEDIATE);
    if (pending() >= maxQueued) return std::nullopt;
    SQLite::Statement insert(db_, "INSERT INTO runs (ship, name, claimed, replay) VALUES (?, ?, ?, ?)");
    bindAll(insert, ship, name, claimed);
    insert.bind(4, replay.data(), static_cast<int>(replay.size()));
    insert.exec();
    const int64_t id = db_.getLastInsertRowid();
    transaction.commit();
    return id;
  }

  std::optional<RunJob> claimRun(int staleSeconds) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Transaction transaction(db_, SQLite::TransactionBehavior::IMMEDIATE);
    SQLite::Statement next(db_,
                           "SELECT id, ship, claimed, replay, attempt + 1 FROM runs WHERE state = 'queued' OR "
                           "(state = 'checking' AND claimed_at < strftime('%s','now') - ?) ORDER BY id LIMIT 1");
    next.bind(1, staleSeconds);
    if (!next.executeStep()) return std::nullopt;
    RunJob job;
    job.id = next.getColumn(0).getInt64();
    job.ship = next.getColumn(1).getInt();
    job.claimed = next.getColumn(2).getInt64();
    const SQLite::Column blob = next.getColumn(3);
    const auto* bytes = static_cast<const uint8_t*>(blob.getBlob());
    job.replay.assign(bytes, bytes + blob.getBytes());
    job.attempt = next.getColumn(4).getInt();
    next.reset();
    SQLite::Statement claim(
        db_, "UPDATE runs SET state = 'checking', attempt = ?, claimed_at = strftime('%s','now') WHERE id = ?");
    bindAll(claim, job.attempt, job.id);
    claim.exec();
    transaction.commit();
    return job;
  }

  void finishRun(const RunJob& job, const RunVerdict& verdict) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Transaction transaction(db_, SQLite::TransactionBehavior::IMMEDIATE);
    SQLite::Statement finish(db_, schema::kFinishRun);
    bindAll(finish, verdict.verified ? "verified" : "rejected", verdict.score, verdict.reason, job.id, job.attempt);
    if (finish.exec() == 1 && verdict.verified) {
      SQLite::Statement enter(db_, schema::kEnterVerified);
      bindAll(enter, job.id);
      enter.exec();
    }
    transaction.commit();
  }

  RunState runState(int64_t id) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Statement query(db_, "SELECT state FROM runs WHERE id = ?");
    query.bind(1, id);
    return query.executeStep() ? schema::stateOf(query.getColumn(0).getString()) : RunState::unknown;
  }

  std::optional<std::vector<uint8_t>> verifiedReplay(int64_t id) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Statement query(db_, "SELECT replay FROM runs WHERE id = ? AND state = 'verified'");
    query.bind(1, id);
    if (!query.executeStep()) return std::nullopt;
    const SQLite::Column blob = query.getColumn(0);
    const auto* bytes = static_cast<const uint8_t*>(blob.getBlob());
    return std::vector<uint8_t>(bytes, bytes + blob.getBytes());
  }

  std::optional<int64_t> bestVerifiedRun(int ship) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Statement query(db_, schema::kBestVerifiedRun);
    query.bind(1, ship);
    if (!query.executeStep()) return std::nullopt;
    return query.getColumn(0).getInt64();
  }

  int64_t pendingRuns() override {
    const std::lock_guard<std::mutex> lock(mutex_);
    return pending();
  }

 private:
  int64_t pending() {
    SQLite::Statement query(db_, "SELECT count(*) FROM runs WHERE state IN ('queued', 'checking')");
    query.executeStep();
    return query.getColumn(0).getInt64();
  }

  template <class... Values>
  static void bindAll(SQLite::Statement& statement, const Values&... values) {
    int index = 0;
    (statement.bind(++index, values), ...);
  }

  SQLite::Database db_;
  std::mutex mutex_;
};

}  // namespace

std::unique_ptr<ScoreStore> openSqliteStore(const std::string& file) { return std::make_unique<SqliteStore>(file); }

std::unique_ptr<ScoreStore> openScoreStore(const std::string& db) {
  if (db.rfind("postgresql://", 0) == 0 || db.rfind("postgres://", 0) == 0) return openPostgresStore(db);
  return openSqliteStore(db);
}
