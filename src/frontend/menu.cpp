// The menu's frame: backdrop, current screen, navigation, cursor, effects,
// banners, and the run when a ship was chosen.
#include "frontend/menu.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/input_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"

std::unique_ptr<menu> menu::Create() {
  auto m = std::make_unique<menu>();
  for (float& w : m->wobblearr) w = static_cast<float>(Rand(0, 359));
  for (int i = 0; i < 51; ++i) {
    const int x = Rand(0, 800);
    const int y = Rand(0, 600);
    plankton* p = m->planktonlist.add(plankton::Create(static_cast<float>(x), static_cast<float>(y)));
    p->r = 255;
    p->g = 150;
    p->b = 0;
    p->size = 6;
    p->alphadiv = 3;
  }
  size_t i = 0;
  for (const ShipEntry& entry : shipRegistry()) {
    std::unique_ptr<playerbase> ship = entry.create();
    ship->caninput = 0;
    ship->joinCarousel();
    ship->x = static_cast<float>(500 + 100 * i);
    ship->y = 450;
    m->playerarray[i++] = std::move(ship);
  }
  if (settings.music == 1) startMusic(assets.musicTitle);
  pf::flushKeys();
  return m;
}

int menu::Update() {
  drawBackdrop();
  if (menustate == "main") {
    screenMain();
  } else if (menustate == "play") {
    screenPlay();
  } else if (menustate == "stats") {
    screenStats();
  } else if (menustate == "achievements") {
    screenAchievements();
  } else if (menustate == "setup") {
    screenSetup();
  } else if (menustate == "keys") {
    screenKeys();
  } else if (menustate == "joysticks") {
    screenJoysticks();
  } else {
    menustate = "main";  // a screen this build does not have
  }
  readNavigation();
  // The periodic flush drops stale key state only once the frame has read
  // its input, so a press that came since the last frame is never lost.
  if (timer % 30 == 0) pf::flushKeys();
  drawCursor();
  advanceLooks();
  runEffects();
  showBanners();
  if (begingame > 0) playGame();
  syncShipUnlocks();
  if (pf::takeCloseRequest()) quit = 1;
  return quit == 1 ? 1 : 0;
}

void menu::drawBackdrop() {
  // Darkening the last frame instead of clearing it leaves trails.
  drawFade(clsalpha);
  if (clsalpha < 0.6f) clsalpha += 0.025f;
  timer += 1;
  watermod += 1;
  if (watermod % 4 == 0) waterindex += 1;
  if (waterindex == 32) waterindex = 0;
  rockbgy1 += 1;
  rockbgy2 += 1;
  if (rockbgy1 >= 600) rockbgy1 = rockbgy2 - 600;
  if (rockbgy2 >= 600) rockbgy2 = rockbgy1 - 600;

  const pf::Image& water = assets.waterFrames[static_cast<size_t>(waterindex)]();
  const float stretch = static_cast<float>(2.626 + 0.5 * Sin(timer));
  pf::setAlpha(0.05f);
  pf::setBlend(pf::kBlendLight);
  pf::setScale(stretch, 1.17f);
  pf::drawImage(water, 400, rockbgy1, pf::Origin{256, 0});
  pf::setScale(stretch, -1.17f);
  pf::drawImage(water, 400, rockbgy2, pf::Origin{256, 512});
  if (timer % 20 == 0) {
    const int x = Rand(0, 800);
    const int y = Rand(0, 600);
    blood* cloud = bloodlist.add(blood::Create(static_cast<float>(x), static_cast<float>(y)));
    cloud->size = 8;
    cloud->Alpha = 0.2f;
  }
  planktonlist.forEach([](plankton& p) {
    p.update();
    p.paint();
  });
  resetDrawState();
  pf::setScale(2, 2);
  pf::drawText(titlestring, 10, 10);
  drawcursor = 1;
}

void menu::readNavigation() {
  buttonpressed = confirmPressed(joytimer) ? 1 : 0;
  // Flushing after each move makes one press move one entry.
  if (pf::keyDown(settings.upkey) || pf::keyDown(pf::vk::kUp)) {
    pf::flushKeys();
    moveSelection(-1);
  } else if (pf::keyDown(settings.downkey) || pf::keyDown(pf::vk::kDown)) {
    pf::flushKeys();
    moveSelection(1);
  }
  joytimer += 1;
  if (settings.usejoy == 1 && joytimer > 10) {
    if (joyMoveY() < -settings.jThreshhold) {
      joytimer = 0;
      moveSelection(-1);
    }
    if (joyMoveY() > settings.jThreshhold) {
      joytimer = 0;
      moveSelection(1);
    }
  }
}

void menu::moveSelection(int step) {
  selectedItem += step;
  if (selectedItem < 1) selectedItem = cursormax;
  if (selectedItem > cursormax) selectedItem = 1;
}

void menu::drawCursor() {
  resetDrawState();
  if (drawcursor != 1 || menustate == "play" || menustate == "keys") return;
  const pf::Image& blob = assets.blobImage();
  pf::setBlend(pf::kBlendLight);
  const float y = static_cast<float>(cursorY + 12);
  pf::setScale(1.3f, 0.8f);
  pf::setAlpha(0.6f);
  pf::setColour(255, 150, 0);
  pf::drawImage(blob, 45, y);
  // A tail that sways more the further it trails.
  for (int i = 0; i < 11; ++i) {
    const float tx = static_cast<float>(45 - (5 * i + (i / 5.0) * Sin(timer)));
    const float ty = static_cast<float>(y + i * Sin(timer + 35 * i));
    pf::setScale(0.4f, 0.4f);
    pf::setAlpha(0.4f);
    pf::setColour(255, 150, 0);
    pf::drawImage(blob, tx, ty);
    pf::setScale(0.1f, 0.1f);
    pf::setAlpha(0.8f);
    pf::setColour(255, 255, 255);
    pf::drawImage(blob, tx, ty);
  }
}

void menu::advanceLooks() {
  firelist.forEach([](fireAttack& f) { f.updateLooks(); });
}

void menu::runEffects() {
  resetDrawState();
  bubblelist.forEach([&](bubble& b) {
    b.paint();
    if (b.Update() == 1) bubblelist.remove(&b);
  });
  bulletlist.forEach([&](bullet& b) {
    b.paint();
    if (b.Update() == 1 || (b.X == 0 && b.Y == 0)) bulletlist.remove(&b);
  });
  missilelist.forEach([&](missile& m) {
    m.draw();
    // Nothing to home in on here: the missiles head for the top of the screen.
    if (m.Update(400, -100) == 1) missilelist.remove(&m);
  });
  bloodlist.forEach([&](blood& b) {
    b.paint();
    if (b.Update(bubblelist) == 1) bloodlist.remove(&b);
  });
  powerringlist.forEach([&](powerring& r) {
    r.paint();
    if (r.Update(static_cast<float>(timer)) == 1) powerringlist.remove(&r);
  });
  firelist.forEach([&](fireAttack& f) {
    f.paint();
    if (f.Update(*fireShip_) == 1) firelist.remove(&f);
  });
}

void menu::showBanners() {
  int i = 0;
  achievementlist.forEach([&](AchievementLogo& a) {
    a.y = -130 * i;  // stacked upwards from the lower right, the oldest lowest
    a.draw();
    if (a.update() == 1) achievementlist.remove(&a);
    ++i;
  });
}
