#pragma once
// Where the scoreboard keeps its submissions: SQLite for one machine,
// PostgreSQL when several server processes share one database.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct RankedEntry {
  std::string name;  // UTF-8, as stored
  int64_t score = 0;
};

class ScoreStore {
 public:
  virtual ~ScoreStore() = default;
  // Records one submission durably before returning. Throws on failure.
  virtual void submit(int ship, const std::string& name, int64_t score) = 0;
  // The ship's ranking, best first: each name once with its best score, ties
  // going to the name that reached that score first. Throws on failure.
  virtual std::vector<RankedEntry> best(int ship, int limit) = 0;
  // Every submission ever made for the ship (the log, not the ranking).
  virtual int64_t submissions(int ship) = 0;
};

// "postgresql://..." or "postgres://..." opens PostgreSQL, anything else is
// an SQLite file. Creates the schema when it is missing. Throws on failure.
std::unique_ptr<ScoreStore> openScoreStore(const std::string& db);

std::unique_ptr<ScoreStore> openSqliteStore(const std::string& file);
std::unique_ptr<ScoreStore> openPostgresStore(const std::string& uri);
