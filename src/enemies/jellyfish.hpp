#pragma once
// A large drifting jellyfish: a pulsing bell of glowing dots with seven soft
// tentacles, firing downward fans of five bullets. Killing one counts against
// the "i love jelly" achievement.
#include <array>
#include <memory>

#include "enemies/enemybase.hpp"
#include "enemies/tentacle.hpp"

class jellyfish : public enemybase {
 public:
  jellyfish();
  ~jellyfish() override;

  EntityList<tentacle> tentacleList;
  int timer = 0;
  // Slow phase of the bell's shimmer, +0.5 per frame.
  float tim;
  // Bottom of the bell, worked out by the drawing; the tentacles hang from it.
  float ymov = 0;
  // Swaying centre of the bell.
  float x2 = 0, y2 = 0;
  // Main phase, +8 per frame.
  int angle;
  // Drift velocity, set by the level.
  float xvel = 0, yvel = 0;
  std::array<float, 22> tx{};
  std::array<float, 22> ty{};

  static std::unique_ptr<jellyfish> Create(float x, float y, float third);

  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
  // Sets ymov to the bell's bottom row, as the frame's drawing shows it.
  void updateLooks() override;
  int makeexplosions(EntityList<explosionbase>& explosionlist) override;

 private:
  // Height of row i (0 to 14) of the bell, which bobs with the main phase.
  float bellRowY(int i) const;
  // The glow under the bell lags a frame: it sits where the bell's bottom
  // was before this frame's looks were advanced.
  float glowY_ = 0;
};
