// The crab is drawn from the one glow sprite, layer by layer from the back:
// aura, mouth parts, legs, the spark column of its back, the shell with the
// eyes, then the arms and claws on top.
#include "enemies/boss.hpp"
#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

namespace {

void blobAt(double px, double py) { pf::drawImage(assets.blobImage(), static_cast<float>(px), static_cast<float>(py)); }

void look(int r, int g, int b, double alpha, double sx, double sy) {
  pf::setColour(r, g, b);
  pf::setAlpha(static_cast<float>(alpha));
  pf::setScale(static_cast<float>(sx), static_cast<float>(sy));
}

// A small white highlight on a bead.
void whiteDot(double px, double py, double alpha) {
  look(255, 255, 255, alpha, 0.05, 0.05);
  blobAt(px, py);
}

}  // namespace

void boss::updateLooks() { layoutClaws(); }

int boss::paint() const {
  resetDrawState();
  pf::setBlend(pf::kBlendLight);
  paintAura();
  paintMouth();
  paintLegs();
  paintSparkColumn();
  paintShell();

  const Arm left = arm(1);
  const Arm right = arm(2);
  paintArm(left, arm1angle);
  // Both claws' jaws open along the left forearm, as their hit boxes lie.
  if (claw1energy > 0) paintPincers(claw1x, claw1y, left.forearm, timer, -1);
  paintArm(right, arm2angle);
  if (claw2energy > 0) paintPincers(claw2x, claw2y, left.forearm, timer + 90, 1);
  resetDrawState();
  return 0;
}

void boss::paintAura() const {
  const double breath = 0.05 * Sin(timer + 270);
  look(150, 200, 255, 0.2 + 0.15 * Sin(2 * timer), 2.3 + breath, 2.6 + breath);
  blobAt(x, y - 70);
  const double pulse = 0.5 * Sin(3 * timer);
  look(0, 255, 0, 0.2 + 0.15 * Sin(timer + 180), 2.3 + pulse, 3.0 + pulse);
  blobAt(x, y + 20);
}

void boss::paintMouth() const {
  const double m = 3 * Sin(90 - timer / 2);
  // Three mirrored pairs of mandible strokes: offset from the middle, height
  // below the body and the left stroke's rotation (the right one mirrors it).
  struct Stroke {
    double dx, dy, rotation;
  };
  constexpr Stroke kStrokes[] = {{10, 56, 350}, {10, 62, 340}, {2, 72, 110}};

  look(255, 255, 255, 0.25, 0.8, 0.2);
  blobAt(x - 10, y + m + 50);
  blobAt(x + 10, y + m + 50);
  const auto pairs = [&] {
    for (const Stroke& s : kStrokes) {
      pf::setRotation(static_cast<float>(s.rotation));
      blobAt(x - s.dx, y + m + s.dy);
      pf::setRotation(static_cast<float>(540 - s.rotation));
      blobAt(x + s.dx, y + m + s.dy);
    }
    pf::setRotation(0);
  };
  look(255, 200, 200, 0.25, 1, 0.2);
  pairs();
  look(255, 255, 255, 0.25, 0.6, 0.025);
  pairs();
}

void boss::paintLegs() const {
  // Root on the body (distance, angle) of the three right legs; the left
  // ones mirror them.
  struct Root {
    double distance, angle;
  };
  constexpr Root kRoots[] = {{40, 355}, {50, 33}, {50, 66}};
  constexpr int kUpperBeads = 11;
  constexpr int kLowerBeads = 6;
  for (const Root& root : kRoots) {
    for (const int side : {1, -1}) {
      const double rootAngle = side == 1 ? root.angle : 540 - root.angle;
      double px = x + root.distance * Cos(rootAngle);
      double py = y + root.distance * Sin(rootAngle);
      // The thigh reaches out and a little back, arching forwards bead by
      // bead; the shin bends down. Beads lie along the leg, so the shrinking
      // beads thin into the joint. Each leg swings a little out of step.
      const double swing = angle + rootAngle;
      const double out = side == 1 ? -30 : 30;
      double heading = rootAngle + out;
      for (int k = 0; k < kUpperBeads; ++k) {
        heading = rootAngle + out + side * 4.0 * k + 10 * Sin(swing + 12 * k);
        pf::setRotation(static_cast<float>(heading));
        look(255, 0, 0, 0.15, 1.1 - 0.1 * k, 0.7 - 0.1 * k);
        blobAt(px, py);
        pf::setRotation(0);
        whiteDot(px, py, 0.4);
        px += 7 * Cos(heading);
        py += 7 * Sin(heading);
      }
      for (int k = 0; k < kLowerBeads; ++k) {
        const double shin = heading + side * (50 + 8 * k) + 12 * Sin(swing + 90 + 12 * k);
        look(255, 150, 0, 0.25, 0.5 - 0.06 * k, 0.5 - 0.06 * k);
        blobAt(px, py);
        whiteDot(px, py, 0.2);
        px += 8 * Cos(shin);
        py += 8 * Sin(shin);
      }
    }
  }
}

void boss::paintSparkColumn() const {
  for (int k = 0; k < 100; ++k) {
    const double spread = (k / 1.1 + 20) * Sin(timer / 5 + 100 * k);
    const double px = x + spread;
    const double py = y - 100 + 1.3 * k;
    look(255, 0, 200 - k, 0.2, 0.5, 0.5);
    blobAt(px, py);
    if (k % 2 == 0) whiteDot(px, py, 0.2);
  }
}

void boss::paintShell() const {
  constexpr int kRows = 15;
  const double sway = 4 * Sin(angle / 4);
  for (int k = 0; k < kRows; ++k) {
    const double rowY = y - 55 + 8.5 * k;
    // Narrow at the back, widest a little in front of the middle.
    const double half = 22 + 48 * Sin(12.5 * k);
    const double wobble = sway + 2 * Sin(tim + 25 * k);
    for (const int side : {-1, 1}) {
      const double edgeX = x + wobble + side * half;
      // Plates, tilted outwards.
      pf::setRotation(static_cast<float>(side * (15 + 2 * k)));
      look(255, static_cast<int>(155 - 5.7 * k), 0, 0.1, half / 20, 1.0);
      blobAt(x + wobble + side * half * 0.5, rowY);
      // Spines along the rim, pointing back and forward.
      pf::setRotation(static_cast<float>(side * 70));
      look(150, 150, 200, 0.25, 0.35, 0.05);
      blobAt(edgeX, rowY - 4);
      pf::setRotation(static_cast<float>(-side * 70));
      blobAt(edgeX, rowY + 4);
      pf::setRotation(0);
      if (k >= 4) whiteDot(edgeX, rowY, 0.5);
      if (k < 11) {
        look(0, 255, 0, 0.1, 0.4, 0.4);
        blobAt(x + wobble + side * half * 0.6, rowY);
      }
    }
    if (k == kRows - 1) {
      for (const int side : {-1, 1}) {
        const double eyeX = x + wobble + side * 18;
        look(0, 255, 0, 0.6, 0.6, 0.6);
        blobAt(eyeX, rowY);
        look(255, 255, 255, 1, 0.12, 0.12);
        blobAt(eyeX, rowY);
      }
    }
  }
}

void boss::paintArm(const Arm& a, float armangle) const {
  for (int k = 0; k <= 10; ++k) {
    const double px = a.shoulderX + k * (7 + Cos(timer)) * Cos(armangle);
    const double py = a.shoulderY + k * (7 + Sin(timer)) * Sin(armangle);
    look(255, 0, 0, 0.2, 0.9 - k / 20.0, 0.9 - k / 20.0);
    blobAt(px, py);
    whiteDot(px, py, 0.4);
  }
  for (int k = 0; k <= 10; ++k) {
    const double px = a.elbowX + 5 * k * Cos(a.forearm);
    const double py = a.elbowY + 5 * k * Sin(a.forearm);
    look(255, 150, 0, 0.2, 1.3 - k / 20.0, 1.3 - k / 20.0);
    blobAt(px, py);
    whiteDot(px, py, 0.4);
  }
}

void boss::paintPincers(float tipX, float tipY, float direction, float phase, float side) const {
  // A fixed outer jaw bowing 30 pixels out and a moving inner one bowing up
  // to 20 pixels, nested when closed and swung across when open.
  const double open = Sin((phase + 180) * 1.5);
  const double bows[] = {30.0 * side, 20.0 * side * open};
  for (const double bow : bows) {
    for (int k = 0; k <= 10; ++k) {
      // Bead 5, the widest, lies on the point 30 pixels beyond the tip.
      const double along = 30 + 8.0 * (k - 5);
      const double px = tipX + along * Cos(direction) + bow * Sin(18 * k);
      const double py = tipY + along * Sin(direction);
      look(255, 0, 0, 0.2, 1.3 - k / 10.0, 1.3 - k / 10.0);
      blobAt(px, py);
      if (k >= 2) {
        look(255, 100, 0, 0.6, 0.9 - k / 10.0, 0.9 - k / 10.0);
        blobAt(px, py);
      }
    }
  }
}
