#include "fx/explosion.hpp"

#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

namespace {

constexpr int kBigSparks = 50;
constexpr int kSmallSparks = 10;

}  // namespace

explosion::explosion() : timer(Rand(0, 359)) {}

std::unique_ptr<explosion> explosion::Create(float x, float y, int r, int g, int b, int /*n*/, float size, int mini,
                                             float texoffsetx, float texoffsety, int longlife) {
  auto e = std::make_unique<explosion>();
  e->x = x;
  e->y = y;
  e->mini = mini;
  const bool big = mini == 0;
  const int sparks = big ? kBigSparks : kSmallSparks;
  const double slowest = big ? 2 : 1;
  const double fastest = big ? 8 : 6;
  for (int i = 0; i < sparks; ++i) {
    // Drawn one by one: the order of the draws is part of a replayable run.
    const float angle = static_cast<float>(Rand(0, 359));
    const float speed = static_cast<float>(Rnd(slowest, fastest));
    const float scale = static_cast<float>(Rnd(0.1, size));
    glsprite* s = e->sparks_.add(glsprite::Create(x, y, angle, speed, scale, texoffsetx, texoffsety));
    s->r = r;
    s->g = g;
    s->b = b;
    if (big && longlife == 1) s->life = 3;
    e->sparkLife_ = s->life;
  }
  return e;
}

int explosion::Update(EntityList<bubble>& /*bubblelist*/, EntityList<blood>& /*bloodlist*/) {
  if (!sparks_.empty()) {
    sparkLife_ -= glsprite::kLifeStep;
    ++pendingSparkSteps_;
    if (sparkLife_ < 0) {
      sparks_.clear();
      pendingSparkSteps_ = 0;
    }
  }
  life -= 0.01f;
  if (sparks_.empty() && life < 0) return 1;
  timer += 3;
  ymov = 0.5f;
  y -= ymov;
  return 0;
}

int explosion::paint() const {
  const float glowScale = mini == 0 ? 3.0f : 1.0f;
  pf::setScale(glowScale, glowScale);
  pf::setAlpha(life / 8);
  pf::setColour(200, 255, 0);
  if (drawblob == 1) pf::drawImage(assets.blobImage(), static_cast<float>(x + 10 * Sin(timer)), y);
  sparks().forEach([](const glsprite& s) { s.paint(); });
  return 0;
}

EntityList<glsprite>& explosion::sparks() const {
  catchUpSparks();
  return sparks_;
}

void explosion::catchUpSparks() const {
  if (pendingSparkSteps_ == 0) return;
  sparks_.forEach([this](glsprite& s) {
    for (int step = 0; step < pendingSparkSteps_; ++step) s.Update();
  });
  pendingSparkSteps_ = 0;
}
