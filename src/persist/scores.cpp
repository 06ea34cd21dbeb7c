#include "persist/scores.hpp"

#include <string>

#include "persist/database.hpp"

void insertScore(int64_t score, int level, int ship) {
  settingsDb.exec("INSERT INTO scores values(null," + std::to_string(score) + "," + std::to_string(level) + "," +
                  std::to_string(ship) + ")");
}

ShipScoreSummary shipScoreSummary(int ship) {
  ShipScoreSummary summary;
  uint64_t sum = 0;  // unsigned, so even an absurd total wraps instead of overflowing
  settingsDb.query("SELECT * from scores WHERE perfect=" + std::to_string(ship), [&](const DbRow& row) {
    const int64_t score = row.integer64(1);
    ++summary.played;
    sum += static_cast<uint64_t>(score);
    if (score > summary.highest) summary.highest = score;
  });
  if (summary.played > 0) summary.average = static_cast<int64_t>(sum) / summary.played;
  return summary;
}
