#pragma once
// The "Achievement Unlocked!" banner: a panel in the lower right corner that
// brightens for 100 frames, fades for 100 and stays invisible for 100 more.
#include <memory>

class AchievementLogo {
 public:
  int atype = 0;
  float alpha = 0;
  int fadein = 1;
  int x = 0;
  int y = 0;

  static std::unique_ptr<AchievementLogo> Create(int atype);
  int update();
  void draw() const;
};

// Awards achievement `index` when it is not held yet: sets its flag and
// returns its banner; returns null when it was already held.
std::unique_ptr<AchievementLogo> awardAchievement(int index);
