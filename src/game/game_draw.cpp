// Painting one frame of the run, back to front: the trail clear, rock walls,
// water and rock background, every object list, the side panels and HUD, the
// special-energy bar, the end fade and the pause overlay.
#include <algorithm>
#include <string>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "game/level.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"

namespace {
constexpr int kSidePanel = 125;  // the black panels at both sides of the water
}  // namespace

int game::Draw() {
  advanceLooks();
  if (pf::drawingEnabled()) {
    paintScene();
  } else {
    drawFade(clsalpha);  // draws nothing: an undrawn frame darkens the next drawn one
  }
  if (program.paused == 1) {
    readPauseKeys();
    drawPauseOverlay();
  }
  achievementPass();
  return 0;
}

// Everything that changes with every frame shown, drawn or not: the
// creatures' looks, the flames' flicker and the energy bar's phases. A run
// therefore plays the same whether its frames are drawn or not, and what
// follows only draws.
void game::advanceLooks() {
  enemylist.forEach([](enemybase& e) { e.updateLooks(); });
  firelist.forEach([](fireAttack& f) { f.updateLooks(); });
  for (float& phase : bombalpha) phase += 1;
}

void game::paintScene() const {
  const float w = static_cast<float>(settings.screenwidth);
  const float h = static_cast<float>(settings.screenheight);
  // Everything up to the side panels shows only in the open water between
  // them: the opaque black panels cover the rest, so it is not filled at all.
  pf::setDrawClip(kSidePanel, 0, settings.screenwidth - 2 * kSidePanel, settings.screenheight);
  resetDrawState();
  drawFade(clsalpha);  // a translucent clear: smaller alphas leave longer trails
  resetDrawState();
  drawRockWalls();
  drawWaterAndRock();
  resetDrawState();
  planktonlist.forEach([](const plankton& p) { p.paint(); });
  drawObjects();

  pf::clearDrawClip();
  resetDrawState();
  pf::setColour(0, 0, 0);
  pf::fillRect(0, 0, kSidePanel, h);
  pf::fillRect(w - kSidePanel, 0, kSidePanel, h);
  pf::setColour(255, 255, 255);
  resetDrawState();

  textlist.forEach([](const Text& t) { t.draw(); });
  drawHud();
  drawSpecialEnergy();

  if (fadeout == 1) {
    pf::setColour(0, 0, 0);
    pf::setAlpha(fadealpha);
    pf::fillRect(0, 0, 800, 600);
  }
  resetDrawState();
}

void game::achievementPass() {
  achievementlist.forEach([&](AchievementLogo& a) {
    a.draw();
    if (a.update() == 1) achievementlist.remove(&a);
  });
}

void game::drawRockWalls() const {
  const int h = gametimer / 2;
  const int rockWidth = assets.rockImage().width();
  const float wallWidth = static_cast<float>(rockWidth);
  const float right = static_cast<float>(settings.screenwidth - 180) - static_cast<float>(rockWidth / 2);
  const float left = 120 + wallWidth;
  const double pulse = 0.25 * Sin(h);
  const double pulse90 = 0.25 * Sin(h + 90);
  pf::setBlend(pf::kBlendLight);
  for (int i = 0; i < kRockSlices; ++i) {
    const pf::Image& slice = assets.rockSlices[static_cast<size_t>(i)]();
    // Each column sways by up to 10 pixels with its own phase, the right wall
    // against the left; each side has an upright copy and a flipped one.
    const float sway = static_cast<float>(10 * Sin(assets.rockSliceOffsets[static_cast<size_t>(i)]));
    const double base = i / 150.0;
    const float fi = static_cast<float>(i);
    pf::setScale(1, 1);
    pf::setAlpha(static_cast<float>(base + pulse));
    pf::drawImage(slice, right + fi, bgSideScroll3 - sway);
    pf::setAlpha(static_cast<float>(base + pulse90));
    pf::drawImage(slice, left - fi, bgSideScroll + sway);
    pf::setScale(1, -1);
    pf::setAlpha(static_cast<float>(base + pulse90));
    pf::drawImage(slice, left - fi, bgSideScroll2 + sway + 600);
    pf::setAlpha(static_cast<float>(base + pulse));
    pf::drawImage(slice, right + fi, bgSideScroll4 - sway + 600);
  }
}

void game::drawWaterAndRock() const {
  const float stretch = static_cast<float>(0.5 * Sin(gametimer));
  const pf::Image& water = assets.waterFrames[static_cast<size_t>(waterindex)]();
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(0.09f);
  pf::setScale(1.626f + stretch, 1.17f);
  pf::drawImage(water, 400, rockbgy1, pf::Origin{256, 0});
  pf::setScale(1.626f + stretch, -1.17f);
  pf::drawImage(water, 400, rockbgy2, pf::Origin{256, 512});
  const pf::Image& rock = assets.rockBackgroundImage();
  pf::setBlend(pf::kBlendAlpha);
  pf::setAlpha(0.04f);
  pf::setScale(1.5f + stretch, 1);
  pf::drawImage(rock, 400, rockbgy1, pf::Origin{400, 0});
  pf::setScale(1.5f + stretch, -1);
  pf::drawImage(rock, 400, rockbgy2, pf::Origin{400, 600});
}

void game::drawObjects() const {
  bulletlist.forEach([](const bullet& b) { b.paint(); });
  missilelist.forEach([](const missile& m) { m.draw(); });
  particlelist.forEach([](const particle2D& p) { p.paint(); });
  enemylist.forEach([](const enemybase& e) { e.paint(); });
  bubblelist.forEach([](const bubble& b) { b.paint(); });
  bloodlist.forEach([](const blood& b) { b.paint(); });
  firelist.forEach([](const fireAttack& f) { f.paint(); });
  powerringlist.forEach([](const powerring& r) { r.paint(); });
  explosionlist.forEach([](const explosionbase& e) { e.paint(); });
  bonuslist.forEach([](const bonus& b) { b.paint(); });
  p1->paint();
}

void game::drawHud() const {
  const int g = gametimer;
  resetDrawState();
  pf::setBlend(pf::kBlendLight);
  const float beat = static_cast<float>(0.5 + 0.1 * Sin(4.0 * g));
  pf::setScale(beat, beat);
  pf::drawImage(assets.heartImage(), 40, 575);
  pf::setAlpha(0.3f);
  pf::setColour(200, 0, 100);
  pf::drawImage(assets.blobImage(), 40, 575);
  resetDrawState();
  pf::setScale(0.55f, 0.55f);
  pf::drawText("x " + std::to_string(lives), 60, 570);
  pf::drawText("Score  " + std::to_string(score), 5, 30);
  pf::drawText("Multi  x " + std::to_string(multiplier), 680, 30);
  pf::drawText("Combo  " + std::to_string(killcount), 680, 50);
  pf::drawText(powerlevel < 5 ? "power x" + std::to_string(powerlevel) : std::string("max power"), 680, 80);
  if (g >= kNeonOcean.bossClockShown) pf::drawText("Time: " + std::to_string(bosstimer), 680, 570);
}

void game::drawSpecialEnergy() const {
  resetDrawState();
  pf::setBlend(pf::kBlendLight);
  const pf::Image& blob = assets.blobImage();
  const int segments = std::min(bombs, static_cast<int>(bombalpha.size()));
  for (int i = 0; i < segments; ++i) {
    const float a = bombalpha[static_cast<size_t>(i)];
    const float y = 545 - 2.41f * static_cast<float>(i);
    // Red at the bottom, green at the top.
    pf::setScale(0.6f, 0.1f);
    pf::setColour(static_cast<int>(255 - 2.5 * i), static_cast<int>(2.5 * i), 0);
    pf::setAlpha(static_cast<float>(0.6 + 0.3 * Sin(a)));
    pf::drawImage(blob, 61, y);
    pf::setScale(0.05f, 0.05f);
    pf::setColour(255, 255, 255);
    pf::drawImage(blob, static_cast<float>(61 + 3 * Sin(a * i / 10.0)), static_cast<float>(y + 4 * Sin(3.0 * a)));
  }
  resetDrawState();
  pf::drawImage(assets.powerBarImage(), 35, 300, pf::Origin{0, 0});
  resetDrawState();
}

void game::readPauseKeys() {
  if (pf::keyHit(pf::vk::kEscape) > 0) program.paused = 0;
  if (pf::keyDown(pf::vk::kQ)) {
    quitnow = 1;
    program.paused = 0;
    pf::flushKeys();
  }
}

void game::drawPauseOverlay() const {
  pf::setColour(0, 0, 0);
  pf::setAlpha(0.5f);
  pf::fillRect(0, 0, static_cast<float>(settings.screenwidth), static_cast<float>(settings.screenheight));
  pf::setColour(255, 255, 255);
  pf::setAlpha(1);
  pf::setScale(2, 2);
  drawTextCentred("paused", 400, 200, 1);
  pf::setScale(1, 1);
  drawTextCentred("press esc to resume", 400, 300, 1);
  drawTextCentred("press q to quit", 400, 350, 1);
}
