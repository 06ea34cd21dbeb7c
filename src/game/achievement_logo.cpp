#include "game/achievement_logo.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/settings.hpp"
#include "platform/platform.hpp"

std::unique_ptr<AchievementLogo> AchievementLogo::Create(int atype) {
  auto a = std::make_unique<AchievementLogo>();
  a->atype = atype;
  return a;
}

int AchievementLogo::update() {
  if (fadein == 1 && alpha < 1) alpha += 0.01f;
  if (!(alpha < 1)) fadein = 0;
  if (fadein == 0 && alpha > -1) alpha -= 0.01f;
  return alpha > -1 ? 0 : 1;
}

void AchievementLogo::draw() const {
  if (atype < 0 || atype >= kAchievements) return;
  resetDrawState();
  pf::setColour(0, 0, 0);
  pf::setAlpha(alpha);
  pf::fillRect(static_cast<float>(x + 595), static_cast<float>(y + 470), 200, 130);
  pf::setColour(255, 255, 255);
  pf::setScale(0.5f, 0.5f);
  pf::setFont(&assets.gameFont());
  pf::drawText("Achievement Unlocked!", static_cast<float>(x + 600), static_cast<float>(y + 475));
  pf::drawText(assets.achievementNames[static_cast<size_t>(atype)], static_cast<float>(x + 600),
               static_cast<float>(y + 495));
  pf::setScale(0.6f, 0.6f);
  // The banner places the icon by its top-left corner.
  pf::drawImage(assets.achievementIcons[static_cast<size_t>(atype)](), static_cast<float>(x + 715),
                static_cast<float>(y + 500), pf::Origin{0, 0});
  resetDrawState();
}

std::unique_ptr<AchievementLogo> awardAchievement(int index) {
  int& flag = program.achievementFlags[static_cast<size_t>(index)];
  if (flag != 0) return nullptr;
  flag = 1;
  return AchievementLogo::Create(index);
}
