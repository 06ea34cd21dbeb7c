// The shared store: PostgreSQL through libpqxx. Several server processes may
// use one database; each keeps one connection, used by one request at a time.
// The replays to verify are a queue in the database itself: a worker claims
// one with FOR UPDATE SKIP LOCKED, so two never hold one claim, and a claim
// left unfinished (its process killed) is claimed again once it is stale.
#include <pqxx/pqxx>

#include <memory>
#include <mutex>

#include "score_store.hpp"
#include "store_schema.hpp"

namespace {

// Server processes starting together must not race to create the tables:
// the schema is made under a transaction-scoped advisory lock.
constexpr const char* kSchema =
    "SELECT pg_advisory_xact_lock(472147);"
    "CREATE TABLE IF NOT EXISTS submissions (id BIGSERIAL PRIMARY KEY, ship INTEGER NOT NULL, "
    "name TEXT NOT NULL, score BIGINT NOT NULL, at TIMESTAMPTZ NOT NULL DEFAULT now());"
    "CREATE TABLE IF NOT EXISTS best (ship INTEGER NOT NULL, name TEXT NOT NULL, score BIGINT NOT NULL, "
    "first_id BIGINT NOT NULL, PRIMARY KEY (ship, name));"
    "CREATE INDEX IF NOT EXISTS best_rank ON best (ship, score DESC, first_id);"
    "CREATE TABLE IF NOT EXISTS runs (id BIGSERIAL PRIMARY KEY, ship INTEGER NOT NULL, name TEXT NOT NULL, "
    "claimed BIGINT NOT NULL, replay BYTEA NOT NULL, state TEXT NOT NULL DEFAULT 'queued', "
    "attempt INTEGER NOT NULL DEFAULT 0, claimed_at TIMESTAMPTZ, checks INTEGER NOT NULL DEFAULT 0, score BIGINT, "
    "reason TEXT, at TIMESTAMPTZ NOT NULL DEFAULT now());"
    "CREATE INDEX IF NOT EXISTS runs_waiting ON runs (state, id);"
    "CREATE TABLE IF NOT EXISTS verified_best (ship INTEGER NOT NULL, name TEXT NOT NULL, score BIGINT NOT NULL, "
    "run_id BIGINT NOT NULL, PRIMARY KEY (ship, name));"
    "CREATE INDEX IF NOT EXISTS verified_rank ON verified_best (ship, score DESC, run_id);";

std::vector<uint8_t> bytesOf(const pqxx::field& field) {
  const pqxx::binarystring binary(field);
  return std::vector<uint8_t>(binary.data(), binary.data() + binary.size());
}

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

  std::vector<RankedEntry> best(int ship, int limit, ListingPolicy policy) override {
    std::vector<RankedEntry> out;
    run([&](pqxx::work& w) {
      out.clear();
      for (const auto& row : w.exec_prepared(policy == ListingPolicy::verified ? "verified" : "plain", ship, limit)) {
        const int64_t runId = row[3].is_null() ? 0 : row[3].as<int64_t>();
        out.push_back({row[0].as<std::string>(), row[1].as<int64_t>(), row[2].as<int64_t>(), runId != 0, runId});
      }
    });
    return out;
  }

  int64_t submissions(int ship) override {
    int64_t count = 0;
    run([&](pqxx::work& w) { count = w.exec_prepared("count", ship)[0][0].as<int64_t>(); });
    return count;
  }

  std::optional<int64_t> addRun(int ship, const std::string& name, int64_t claimed, const std::vector<uint8_t>& replay,
                                int maxQueued) override {
    std::optional<int64_t> id;
    run([&](pqxx::work& w) {
      id.reset();
      if (w.exec_prepared("pending")[0][0].as<int64_t>() >= maxQueued) return;
      const pqxx::binarystring bytes(replay.data(), replay.size());
      id = w.exec_prepared("add", ship, name, claimed, bytes)[0][0].as<int64_t>();
    });
    return id;
  }

  std::optional<RunJob> claimRun(int staleSeconds) override {
    std::optional<RunJob> job;
    run([&](pqxx::work& w) {
      job.reset();
      const pqxx::result r = w.exec_prepared("claim", staleSeconds);
      if (r.empty()) return;
      job =
          RunJob{r[0][0].as<int64_t>(), r[0][1].as<int>(), r[0][2].as<int64_t>(), bytesOf(r[0][3]), r[0][4].as<int>()};
    });
    return job;
  }

  void finishRun(const RunJob& job, const RunVerdict& verdict) override {
    run([&](pqxx::work& w) {
      const pqxx::result r = w.exec_prepared("finish", verdict.verified ? "verified" : "rejected", verdict.score,
                                             verdict.reason, job.id, job.attempt);
      if (r.affected_rows() == 1 && verdict.verified) w.exec_prepared("enter", job.id);
    });
  }

  RunState runState(int64_t id) override {
    RunState state = RunState::unknown;
    run([&](pqxx::work& w) {
      const pqxx::result r = w.exec_prepared("state", id);
      state = r.empty() ? RunState::unknown : schema::stateOf(r[0][0].as<std::string>());
    });
    return state;
  }

  std::optional<std::vector<uint8_t>> verifiedReplay(int64_t id) override {
    std::optional<std::vector<uint8_t>> bytes;
    run([&](pqxx::work& w) {
      const pqxx::result r = w.exec_prepared("replay", id);
      bytes.reset();
      if (!r.empty()) bytes = bytesOf(r[0][0]);
    });
    return bytes;
  }

  std::optional<int64_t> bestVerifiedRun(int ship) override {
    std::optional<int64_t> id;
    run([&](pqxx::work& w) {
      const pqxx::result r = w.exec_prepared("best run", ship);
      id.reset();
      if (!r.empty()) id = r[0][0].as<int64_t>();
    });
    return id;
  }

  int64_t pendingRuns() override {
    int64_t count = 0;
    run([&](pqxx::work& w) { count = w.exec_prepared("pending")[0][0].as<int64_t>(); });
    return count;
  }

 private:
  void connect() {
    connection_ = std::make_unique<pqxx::connection>(uri_);
    pqxx::connection& c = *connection_;
    c.prepare("log", "INSERT INTO submissions (ship, name, score) VALUES ($1, $2, $3) RETURNING id");
    c.prepare("rank", schema::kRaiseBest);
    c.prepare("verified", schema::verifiedList(schema::Dialect::postgres));
    c.prepare("plain", schema::plainList(schema::Dialect::postgres));
    c.prepare("count", "SELECT count(*) FROM submissions WHERE ship = $1");
    c.prepare("pending", "SELECT count(*) FROM runs WHERE state IN ('queued', 'checking')");
    c.prepare("add", "INSERT INTO runs (ship, name, claimed, replay) VALUES ($1, $2, $3, $4) RETURNING id");
    c.prepare("claim",
              "UPDATE runs SET state = 'checking', attempt = attempt + 1, claimed_at = now() WHERE id = ("
              "SELECT id FROM runs WHERE state = 'queued' OR (state = 'checking' AND "
              "claimed_at < now() - make_interval(secs => $1)) ORDER BY id LIMIT 1 FOR UPDATE SKIP LOCKED) "
              "RETURNING id, ship, claimed, replay, attempt");
    c.prepare("finish", schema::kFinishRun);
    c.prepare("enter", schema::kEnterVerified);
    c.prepare("state", "SELECT state FROM runs WHERE id = $1");
    c.prepare("replay", "SELECT replay FROM runs WHERE id = $1 AND state = 'verified'");
    c.prepare("best run", schema::kBestVerifiedRun);
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
