#pragma once
// The statements both stores share. Placeholders are $1, $2 ... in order,
// each used once: PostgreSQL reads them as they are, SQLite as named
// parameters bound by position.
#include <string>

#include "score_store.hpp"

namespace schema {

// A plain submission raises its name's best when it beats it.
constexpr const char* kRaiseBest =
    "INSERT INTO best (ship, name, score, first_id) VALUES ($1, $2, $3, $4) "
    "ON CONFLICT (ship, name) DO UPDATE SET score = excluded.score, first_id = excluded.first_id "
    "WHERE excluded.score > best.score";

// A verdict counts only for the claim that is still current.
constexpr const char* kFinishRun =
    "UPDATE runs SET state = $1, score = $2, reason = $3, checks = checks + 1 "
    "WHERE id = $4 AND attempt = $5 AND state = 'checking'";

// A verified run raises its name's verified best when it beats it.
constexpr const char* kEnterVerified =
    "INSERT INTO verified_best (ship, name, score, run_id) SELECT ship, name, score, id FROM runs WHERE id = $1 "
    "ON CONFLICT (ship, name) DO UPDATE SET score = excluded.score, run_id = excluded.run_id "
    "WHERE excluded.score > verified_best.score";

constexpr const char* kBestVerifiedRun =
    "SELECT run_id FROM verified_best WHERE ship = $1 ORDER BY score DESC, run_id LIMIT 1";

enum class Dialect { sqlite, postgres };

// A time column in seconds since 1970: SQLite keeps them so, PostgreSQL
// keeps timestamps.
inline std::string seconds(Dialect dialect, const std::string& column) {
  return dialect == Dialect::sqlite ? column : "extract(epoch from " + column + ")::bigint";
}

// The lists: name, score, when it was reached, and the verified run that
// reached it (null: none).
inline std::string verifiedList(Dialect dialect) {
  return "SELECT v.name, v.score, " + seconds(dialect, "r.at") +
         ", v.run_id FROM verified_best v JOIN runs r ON r.id = v.run_id WHERE v.ship = $1 "
         "ORDER BY v.score DESC, v.run_id LIMIT $2";
}
inline std::string plainList(Dialect dialect) {
  return "SELECT b.name, b.score, " + seconds(dialect, "s.at") +
         ", v.run_id FROM best b JOIN submissions s ON s.id = b.first_id "
         "LEFT JOIN verified_best v ON v.ship = b.ship AND v.name = b.name AND v.score = b.score "
         "WHERE b.ship = $1 ORDER BY b.score DESC, b.first_id LIMIT $2";
}

inline RunState stateOf(const std::string& state) {
  if (state == "queued") return RunState::queued;
  if (state == "checking") return RunState::checking;
  if (state == "verified") return RunState::verified;
  if (state == "rejected") return RunState::rejected;
  return RunState::unknown;
}

}  // namespace schema
