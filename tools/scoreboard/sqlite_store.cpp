// The embedded store: one SQLite file in WAL mode with full sync, so an
// acknowledged submission survives a crash of the server or the machine.
#include <SQLiteCpp/SQLiteCpp.h>

#include <mutex>

#include "score_store.hpp"

namespace {

// submissions is the log of every accepted submission; best holds each
// name's best score per ship, with the log id of the submission that first
// reached it (ties rank by it).
constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS submissions (id INTEGER PRIMARY KEY AUTOINCREMENT, ship INTEGER NOT NULL, "
    "name TEXT NOT NULL, score INTEGER NOT NULL, at INTEGER NOT NULL DEFAULT (strftime('%s','now')));"
    "CREATE TABLE IF NOT EXISTS best (ship INTEGER NOT NULL, name TEXT NOT NULL, score INTEGER NOT NULL, "
    "first_id INTEGER NOT NULL, PRIMARY KEY (ship, name));"
    "CREATE INDEX IF NOT EXISTS best_rank ON best (ship, score DESC, first_id);";

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
    log.bind(1, ship);
    log.bind(2, name);
    log.bind(3, score);
    log.exec();
    SQLite::Statement rank(
        db_,
        "INSERT INTO best (ship, name, score, first_id) VALUES (?, ?, ?, ?) "
        "ON CONFLICT (ship, name) DO UPDATE SET score = excluded.score, first_id = excluded.first_id "
        "WHERE excluded.score > best.score");
    rank.bind(1, ship);
    rank.bind(2, name);
    rank.bind(3, score);
    rank.bind(4, db_.getLastInsertRowid());
    rank.exec();
    transaction.commit();
  }

  std::vector<RankedEntry> best(int ship, int limit) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Statement query(db_, "SELECT name, score FROM best WHERE ship = ? ORDER BY score DESC, first_id LIMIT ?");
    query.bind(1, ship);
    query.bind(2, limit);
    std::vector<RankedEntry> out;
    while (query.executeStep()) out.push_back({query.getColumn(0).getString(), query.getColumn(1).getInt64()});
    return out;
  }

  int64_t submissions(int ship) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    SQLite::Statement query(db_, "SELECT count(*) FROM submissions WHERE ship = ?");
    query.bind(1, ship);
    query.executeStep();
    return query.getColumn(0).getInt64();
  }

 private:
  SQLite::Database db_;
  std::mutex mutex_;
};

}  // namespace

std::unique_ptr<ScoreStore> openSqliteStore(const std::string& file) { return std::make_unique<SqliteStore>(file); }

std::unique_ptr<ScoreStore> openScoreStore(const std::string& db) {
  if (db.rfind("postgresql://", 0) == 0 || db.rfind("postgres://", 0) == 0) return openPostgresStore(db);
  return openSqliteStore(db);
}
