#include "ships/bullet.hpp"

#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "platform/platform.hpp"

bullet::~bullet() = default;

std::unique_ptr<bullet> bullet::Create(float x, float y, float angle, float speed, const pf::Image& image, float alpha,
                                       int blend, int r, int g, int b, float xScale, float yscale, float radius,
                                       int isPlayer, float damage) {
  auto s = std::make_unique<bullet>();
  s->launch(x, y, angle, speed, image, alpha, blend, r, g, b, radius, isPlayer);
  s->xScale = xScale;
  s->yscale = yscale;
  s->damage = damage;
  return s;
}

void bullet::launch(float x, float y, float angle, float speed, const pf::Image& image, float alpha, int blend, int r,
                    int g, int b, float radius, int isPlayer) {
  X = oldX = x;
  Y = oldY = y;
  this->angle = angle;
  this->speed = speed;
  this->image = &image;
  this->alpha = alpha;
  this->blend = blend;
  this->r = r;
  this->g = g;
  this->b = b;
  this->radius = radius;
  this->isPlayer = isPlayer;
  collrect = Rect::Create(0, 0, 0, 0);
}

void bullet::moveAlongRay() {
  radius += speed;
  // Placed from the start point each frame, so the flight stays straight.
  heading_.aim(angle);
  X = static_cast<float>(oldX + radius * heading_.cos());
  Y = static_cast<float>(oldY + radius * heading_.sin());
}

int bullet::leftField() const { return Y < -50 || X < 0 || X > static_cast<float>(settings.screenwidth) ? 1 : 0; }

int bullet::Update() {
  timer += 1;
  moveAlongRay();
  collrect = Rect::Create(X - 10, Y - 25, 20, 50);
  return leftField();
}

int bullet::paint() const {
  paintCoreAndGlow(xScale - 0.2f, yscale - 0.2f);
  return 0;
}

void bullet::paintCoreAndGlow(float coreXScale, float coreYScale) const {
  pf::setRotation(angle);
  pf::setBlend(blend);
  pf::setAlpha(alpha);
  // A white-hot core inside a coloured glow.
  pf::setScale(coreXScale, coreYScale);
  pf::setColour(255, 255, 255);
  // Shots are drawn about the sprite's centre, whatever its own handle.
  const pf::Origin centre = pf::centreOf(*image);
  pf::drawImage(*image, X, Y, centre);
  pf::setScale(xScale + 0.1f, yscale + 0.1f);
  pf::setColour(r, g, b);
  pf::drawImage(*image, X, Y, centre);
  resetDrawState();
}
