// The achievements screen: the ten icons in two wobbling rows, the selected
// one's name and description, and an arrow that follows the selection.
#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/input_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "frontend/menu.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"

namespace {

constexpr int kColumns = 5;

}  // namespace

void menu::moveAchievement(int step) {
  achselected += step;
  if (achselected < 1) achselected = kColumns;
  if (achselected > kColumns) achselected = 1;
}

void menu::screenAchievements() {
  titlestring = "achievements";
  drawcursor = 0;
  resetDrawState();
  const int selected = achrow == 1 ? achselected - 1 : achselected + 4;
  pf::setColour(150, 150, 150);
  drawTextCentred(assets.achievementNames[static_cast<size_t>(selected)], 400, 470, 1);
  pf::setColour(255, 255, 255);
  drawTextCentred(assets.achievementDescriptions[static_cast<size_t>(selected)], 400, 510, 1);
  pf::setScale(0.75f, 0.75f);
  drawTextCentred("press return or fire to go back", 400, 580, 1);

  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(0.8f);

  if (settings.usejoy == 1 && joytimer > 10) {
    const float stickY = joyMoveY();
    const float stickX = joyMoveX();
    if (stickY < -settings.jThreshhold || stickY > settings.jThreshhold) {
      joytimer = 0;
      achrow = achrow == 1 ? 2 : 1;
    }
    if (stickX < -settings.jThreshhold) {
      joytimer = 0;
      moveAchievement(-1);
    } else if (stickX > settings.jThreshhold) {
      joytimer = 0;
      moveAchievement(1);
    }
  }
  if (pf::keyHit(settings.leftkey) > 0 || pf::keyHit(pf::vk::kLeft) > 0) {
    moveAchievement(-1);
  } else if (pf::keyHit(settings.rightkey) > 0 || pf::keyHit(pf::vk::kRight) > 0) {
    moveAchievement(1);
  }
  if (pf::keyHit(settings.upkey) > 0 || pf::keyHit(settings.downkey) > 0 || pf::keyHit(pf::vk::kUp) > 0 ||
      pf::keyHit(pf::vk::kDown) > 0) {
    achrow = achrow == 1 ? 2 : 1;
  }

  // Every wobble is a sine of the menu clock, offset by the icon's own phase.
  const auto wobble = [&](int phase) { return Sin(timer + wobblearr[static_cast<size_t>(phase)]); };
  const int column = achselected - 1;
  const float arrowX = static_cast<float>(150 + 120 * column + 4 * wobble(column + 5));
  pf::setScale(1, 1.7f);
  pf::setRotation(270);
  if (achrow == 1) {
    drawTextCentred(">", arrowX, 230, 1);
  } else {
    drawTextCentred("<", arrowX, 270, 1);
  }

  const auto drawIcon = [&](int index, float x, float y, int turnPhase) {
    const auto& icons = program.achievementFlags[static_cast<size_t>(index)] == 1 ? assets.achievementIcons
                                                                                  : assets.achievementIconsDim;
    const pf::Image& icon = icons[static_cast<size_t>(index)]();
    const float size = static_cast<float>(0.8 + 0.05 * wobble(turnPhase));
    pf::setRotation(static_cast<float>(7 * wobble(turnPhase)));
    pf::setScale(size, size);
    pf::drawImage(icon, x, y, pf::centreOf(icon));
  };
  for (int i = 0; i < kColumns; ++i) {
    const float x = static_cast<float>(150 + 120 * i + 4 * wobble(i + 5));
    const float bob = static_cast<float>(4 * wobble(i + 5));
    drawIcon(i, x, 150 + bob, i);
    drawIcon(i + 5, x, 350 + bob, i + 5);
  }

  resetDrawState();
  if (buttonpressed == 1) {
    selectedItem = 1;
    menustate = "main";
  }
}
