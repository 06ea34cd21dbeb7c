#include "ships/particlebeam.hpp"

#include <algorithm>

#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

namespace {

constexpr float kStartScale = 0.1f;
constexpr float kGrowth = 0.1f;
constexpr float kBeamDamage = 3;

}  // namespace

std::unique_ptr<particlebeam> particlebeam::Create(float x, float y, float angle, float speed, const pf::Image& image,
                                                   float alpha, int blend, int r, int g, int b, float xscalemax,
                                                   float yscalemax, float radius, int isPlayer, float direction) {
  auto s = std::make_unique<particlebeam>();
  s->launch(x, y, angle, speed, image, alpha, blend, r, g, b, radius, isPlayer);
  s->xscalemax = xscalemax;
  s->yscalemax = yscalemax;
  s->direction = direction;
  s->xScale = kStartScale;
  s->yscale = kStartScale;
  s->damage = kBeamDamage;
  s->isparticlebeam = 1;
  return s;
}

int particlebeam::Update() {
  xScale = std::min(xScale + kGrowth, xscalemax);
  yscale = std::min(yscale + kGrowth, yscalemax);
  timer += 3;
  // A small swerve; the two beams of a pair swerve in mirror image.
  angle = static_cast<float>(angle + Sin(static_cast<float>(timer) * (-2 * direction)));
  oldX += direction;
  moveAlongRay();
  collrect = Rect::Create(X + collrectoffset - 25, Y - 25, 50, 50);
  return leftField();
}

int particlebeam::paint() const {
  paintCoreAndGlow(1, 1);
  return 0;
}
