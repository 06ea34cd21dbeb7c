// The shared store: PostgreSQL through libpqxx. Several server processes may
// use one database; each keeps one connection, used by one request at a time.
#include <pqxx/pqxx>

#include <memory>
#include <mutex>

#include "score_store.hpp"

namespace {

// Server processes starting together must not race to create the tables:
// the schema is made under a transaction-scoped advisory lock.
constexpr const char* kSchema =
    "SELECT pg_advisory_xact_lock(472147);"
    "CREATE TABLE IF NOT EXISTS submissions (id BIGSERIAL PRIMARY KEY, ship INTEGER NOT NULL, "
    "name TEXT NOT NULL, score BIGINT NOT NULL, at TIMESTAMPTZ NOT NULL DEFAULT now());"
    "CREATE TABLE IF NOT EXISTS best (ship INTEGER NOT NULL, name TEXT NOT NULL, score BIGINT NOT NULL, "
    "first_id BIGINT NOT NULL, PRIMARY KEY (ship, name));"
    "CREATE INDEX IF NOT EXISTS best_rank ON best (ship, score DESC, first_id);";

class PostgresStore final : public ScoreStore {
 public:
  explicit PostgresStore(std::string uri) : uri_(std::move(uri)) {
    connect();
    pqxx::work w(*connection_);
    w.exec(kSchema);
    w.commit();
  }

  void submit(int ship, const std::string& name, int64_t score) override {
    run([&](pqxx::work& w) {
      // Two servers may raise the same name at once: the row lock taken by
      // the upsert orders them, and the higher score wins either way.
      const pqxx::result id = w.exec_prepared("log", ship, name, score);
      w.exec_prepared("rank", ship, name, score, id[0][0].as<int64_t>());
    });
  }

  std::vector<RankedEntry> best(int ship, int limit) override {
    std::vector<RankedEntry> out;
    run([&](pqxx::work& w) {
      out.clear();
      for (const auto& row : w.exec_prepared("best", ship, limit)) {
        out.push_back({row[0].as<std::string>(), row[1].as<int64_t>()});
      }
    });
    return out;
  }

  int64_t submissions(int ship) override {
    int64_t count = 0;
    run([&](pqxx::work& w) { count = w.exec_prepared("count", ship)[0][0].as<int64_t>(); });
    return count;
  }

 private:
  void connect() {
    connection_ = std::make_unique<pqxx::connection>(uri_);
    connection_->prepare("log", "INSERT INTO submissions (ship, name, score) VALUES ($1, $2, $3) RETURNING id");
    connection_->prepare("rank",
                         "INSERT INTO best (ship, name, score, first_id) VALUES ($1, $2, $3, $4) "
                         "ON CONFLICT (ship, name) DO UPDATE SET score = excluded.score, first_id = excluded.first_id "
                         "WHERE excluded.score > best.score");
    connection_->prepare("best", "SELECT name, score FROM best WHERE ship = $1 ORDER BY score DESC, first_id LIMIT $2");
    connection_->prepare("count", "SELECT count(*) FROM submissions WHERE ship = $1");
  }

  // One transaction; a connection lost since the last request is opened
  // again once before giving up.
  template <class Work>
  void run(Work work) {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (int attempt = 0;; ++attempt) {
      try {
        if (!connection_ || !connection_->is_open()) connect();
        pqxx::work w(*connection_);
        work(w);
        w.commit();
        return;
      } catch (const pqxx::broken_connection&) {
        connection_.reset();
        if (attempt > 0) throw;
      }
    }
  }

  std::string uri_;
  std::unique_ptr<pqxx::connection> connection_;
  std::mutex mutex_;
};

}  // namespace

std::unique_ptr<ScoreStore> openPostgresStore(const std::string& uri) { return std::make_unique<PostgresStore>(uri); }
