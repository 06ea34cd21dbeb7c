#include "fx/text.hpp"

#include <utility>

#include "essentials/draw_helpers.hpp"
#include "platform/platform.hpp"

std::unique_ptr<Text> Text::Create(float x, float y, int rising, float size, std::string message,
                                   const pf::Image* image, float life) {
  auto t = std::make_unique<Text>();
  t->x = x;
  t->y = rising == 1 ? y - 20 : y;
  t->rising = rising;
  t->size = size;
  t->message = std::move(message);
  t->Image = image;
  t->life = life;
  return t;
}

int Text::update() {
  life -= 0.04f;
  if (rising == 1) y -= 0.5f;
  return life > 0 ? 0 : 1;
}

void Text::draw() const {
  resetDrawState();
  pf::setScale(size, size);
  pf::setAlpha(life);
  if (Image == nullptr) {
    drawTextCentred(message, x, y, 1);
  } else {
    pf::drawImage(*Image, x, y, pf::centreOf(*Image));
  }
  resetDrawState();
}
