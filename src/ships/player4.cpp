#include "ships/player4.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"
#include "ships/ship_demo.hpp"
#include "ships/ship_motion.hpp"
#include "ships/shots.hpp"

namespace {

// The head and at most four option stars.
constexpr size_t kLongestTail = 5;
constexpr float kStarSpacing = 50;

}  // namespace

std::unique_ptr<player4> player4::Create() {
  auto p = std::make_unique<player4>();
  p->describe(4, 255, 0, 255, {"option star", "ok", "ok", "slow", "shoot vertical", "shoot sideways", "fire bomb"});
  p->tail.add(TailPoint::Create(p->x, p->y, 255, 255, 255))->Length = 0;
  return p;
}

int player4::Update(float dx, float dy, float, EntityList<bubble>& bubbles) {
  startFrame(dx, dy, 2.5f, 2.5f, bubbles);
  readTwoFireButtons(*this, timer);
  collrect = Rect{x - 2, y - 10, 4, 4};

  // A spinning, pulsing star of sparks.
  const pf::Image& blob = assets.blobImage();
  // It pulses with the ring of spikes.
  const float radius = static_cast<float>(12 + 3 * Sin(4.0 * timer + 180));
  for (int k = 0; k <= 350; k += 35) {
    const float direction = 90 + rotation + static_cast<float>(k) - 10.0f * static_cast<float>(timer);
    playerlist.add(
        bullet2D::Create(x, y, direction, 1.5f, blob, 0.75f, pf::kBlendLight, 100, 150, 255, 0.1f, 0.1f, radius, 0, 1));
  }
  return 0;
}

int player4::paint() const {
  const pf::Image& blob = assets.blobImage();
  paintGlow(x, y, 0.3f, 255, 0, 255);
  paintSpikeRing(x, y, timer);
  // Every point after the head is an option star.
  const TailPoint* head = tail.first();
  tail.forEach([&](const TailPoint& p) {
    if (&p == head) return;
    pf::setColour(255, 255, 255);
    pf::setAlpha(0.8f);
    pf::setScale(0.05f, 0.05f);
    pf::drawImage(blob, p.x2, p.y2);
    pf::setColour(255, 255, 0);
    pf::setAlpha(0.4f);
    pf::setScale(0.4f, 0.4f);
    pf::drawImage(blob, p.x2, p.y2);
  });
  paintCore(x, y);
  playerlist.paint();
  resetDrawState();
  return 0;
}

// Every option star fires as the ship does: up with button one, to both sides
// with button two (the ship is then turned by 90 degrees).
void player4::fireMainGuns(WeaponContext& w) {
  const ShotLook look{r, g, b, 1.0f, 0.1f, 1.5f};
  const auto volley = [&](float fx, float fy) {
    if (fire1 == 1) {
      addShot(w, fx, fy, 270 + rotation, 20, look, 2);
    } else if (fire2 == 1) {
      addShot(w, fx, fy, 270 + rotation + 180, 20, look, 2);
      addShot(w, fx, fy, 270 + rotation, 20, look, 2);
    }
  };
  const TailPoint* head = tail.first();
  tail.forEach([&](TailPoint& p) {
    if (&p != head) volley(p.x2, p.y2);
  });
  volley(x, y);
}

// The whole of the energy goes into one fire.
void player4::special(WeaponContext& w, SpecialTrigger) {
  addFire(w, w.bombs);
  w.bombs = 0;
}

// The last option star is lost (and, with none left, the head itself; an
// empty tail stays empty).
void player4::lifeLost() { tail.removeLast(); }

// A new option star behind the last point. Should every point have been lost,
// the first new one is the head again, at the ship.
void player4::powerUpCollected() {
  if (tail.size() >= kLongestTail) return;
  const TailPoint* last = tail.last();
  if (last == nullptr) {
    tail.add(TailPoint::Create(x, y, 255, 255, 255))->Length = 0;
    return;
  }
  tail.add(TailPoint::Create(last->x, last->y, 255, 255, 255))->Length = kStarSpacing;
}

// In the carousel the ship shows off five more stars behind its head.
void player4::joinCarousel() {
  for (int k = 0; k < 5; ++k) {
    const TailPoint* last = tail.last();
    const float lx = last != nullptr ? last->x : x;
    const float ly = last != nullptr ? last->y : y;
    tail.add(TailPoint::Create(lx, ly, 255, 255, 255))->Length = kStarSpacing;
  }
}

// The ship and every star fire as the ship's own demonstration cycle aims
// them; the special window starts one fire.
void player4::demonstrate(DemoStage& s) {
  if (s.every(40) && (fire1 == 1 || fire2 == 1)) {
    const ShotLook look{r, g, b, 1, 0.1f, 1.5f};
    const float ahead = 270 + rotation;
    const auto volley = [&](float fx, float fy) {
      if (fire1 == 1) {
        s.shoot(fx, fy, ahead, 20, look, 2);
      } else {
        s.shoot(fx, fy, ahead + 180, 20, look, 2);
        s.shoot(fx, fy, ahead, 20, look, 2);
      }
    };
    volley(x, y);
    const TailPoint* head = tail.first();
    tail.forEach([&](TailPoint& star) {
      if (&star != head) volley(star.x2, star.y2);
    });
  }
  if (s.playspecialtimer == 200) s.startFire(*this, 100);
}
