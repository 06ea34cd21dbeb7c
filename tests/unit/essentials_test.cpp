// The toolkit every collision, aiming and drawing step relies on.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "essentials/draw_helpers.hpp"
#include "essentials/geometry.hpp"
#include "essentials/input_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "platform/channel_state.hpp"
#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "test_support.hpp"

TEST(Geometry, RectanglesTouchingAtAnEdgeOrCornerOverlap) {
  const Rect a{0, 0, 10, 10};
  EXPECT_EQ(overlaps(a, Rect{10, 0, 5, 5}), 1);   // share the line x = 10
  EXPECT_EQ(overlaps(a, Rect{10, 10, 5, 5}), 1);  // share a corner
  EXPECT_EQ(overlaps(a, Rect{10.01f, 0, 5, 5}), 0);
  EXPECT_EQ(overlaps(a, Rect{0, -5.5f, 5, 5}), 0);
  EXPECT_EQ(overlaps(a, Rect{2, 2, 1, 1}), 1);  // inside
  // A negative size is used as it stands, never normalised.
  EXPECT_EQ(overlaps(Rect{20, 0, -5, 10}, Rect{11, 0, 2, 2}), 0);
}

TEST(Geometry, CircleTestIsStrict) {
  const Rect r{0, 0, 10, 10};
  EXPECT_EQ(circleHitsRect(r, 15, 5, 5), 0);  // exactly the radius away
  EXPECT_EQ(circleHitsRect(r, 14.9f, 5, 5), 1);
  EXPECT_EQ(circleHitsRect(r, 13, 14, 5), 0);  // corner: distance 5
  EXPECT_EQ(circleHitsRect(r, 5, 5, 1), 1);    // centre inside
  EXPECT_EQ(circleHitsRect(r, 5, 5, 0), 0);    // but not with radius 0
}

TEST(Geometry, AngleToPointsFromTheSecondPointToTheFirst) {
  EXPECT_FLOAT_EQ(angleTo(10, 0, 0, 0), -90);  // to the right
  EXPECT_FLOAT_EQ(angleTo(-10, 0, 0, 0), 90);  // to the left
  EXPECT_FLOAT_EQ(angleTo(0, 10, 0, 0), 0);    // straight below
  EXPECT_FLOAT_EQ(std::fabs(angleTo(0, -10, 0, 0)), 180);
  EXPECT_FLOAT_EQ(aimProjection(10, 20, 0, 0), 10 * 0.41f + 20 * 0.941246f);
  EXPECT_LT(aimProjection(0, 0, 10, 20), 0);
}

TEST(Random, RangesAreInclusiveReversibleAndSeeded) {
  SeedRnd(42);
  std::set<int> seen;
  for (int i = 0; i < 2000; ++i) {
    const int v = Rand(-2, 2);
    ASSERT_GE(v, -2);
    ASSERT_LE(v, 2);
    seen.insert(v);
    const int w = Rand(5, 3);  // reversed bounds draw from [3, 5]
    ASSERT_GE(w, 3);
    ASSERT_LE(w, 5);
    const double r = Rnd(2, 1);
    ASSERT_GE(r, 1);
    ASSERT_LT(r, 2);
  }
  EXPECT_EQ(seen.size(), 5u);
  SeedRnd(7);
  const int a = Rand(0, 1000000);
  const double b = Rnd(0, 1);
  SeedRnd(7);
  EXPECT_EQ(Rand(0, 1000000), a);
  EXPECT_EQ(Rnd(0, 1), b);
}

TEST(Trig, QuarterTurnsAreExactAndEverythingAgreesWithTheLibrary) {
  EXPECT_EQ(Sin(90), 1.0);
  EXPECT_EQ(Cos(0), 1.0);
  EXPECT_EQ(Sin(450), 1.0);
  EXPECT_EQ(Sin(-90), -1.0);
  EXPECT_EQ(Cos(180), -1.0);
  SeedRnd(3);
  for (int i = 0; i < 20000; ++i) {
    // Far from 0 both sides inherit the rounding of the angle itself.
    const bool near = i < 10000;
    const double d = near ? Rnd(-720, 720) : Rnd(-1e6, 1e6);
    const double tolerance = near ? 1e-14 : 1e-11;
    ASSERT_NEAR(Sin(d), std::sin(d * kPi / 180), tolerance) << d;
    ASSERT_NEAR(Cos(d), std::cos(d * kPi / 180), tolerance) << d;
  }
}

TEST(Trig, WholeDegreesLookUpExactlyWhatTheSeriesGives) {
  std::vector<int> angles;
  for (int d = -1500; d <= 1500; ++d) angles.push_back(d);
  for (const int d : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 123456789, -987654321}) {
    angles.push_back(d);
  }
  for (const int d : angles) {
    const double asReal = d;
    // Bit for bit: a run's positions must not move by one unit in the last place.
    ASSERT_EQ(std::bit_cast<uint64_t>(Sin(d)), std::bit_cast<uint64_t>(Sin(asReal))) << d;
    ASSERT_EQ(std::bit_cast<uint64_t>(Cos(d)), std::bit_cast<uint64_t>(Cos(asReal))) << d;
  }
}

TEST(SoundHelpers, PlaySfxHonoursTheSoundSetting) {
  freshHeadless();
  SoundSlot blip;
  auto sound = std::make_unique<pf::Sound>();
  sound->samples.assign(44100, 100);  // one second
  blip.sound.store(std::move(sound));
  blip.channel = pf::allocChannel();
  const pf::Channel original = blip.channel;

  settings.sound = 0;
  playSfx(blip, 0.5f, 1.0f);
  EXPECT_EQ(blip.channel, original);
  EXPECT_FALSE(pf::channelPlaying(blip.channel));

  settings.sound = 1;
  playSfx(blip, 0.5f, 2.0f);
  const pf::Channel fresh = blip.channel;
  EXPECT_FALSE(fresh == original);
  EXPECT_TRUE(pf::channelPlaying(fresh));
  EXPECT_FLOAT_EQ(fresh.state()->volume, 0.5f);
  EXPECT_FLOAT_EQ(fresh.state()->rate, 2.0f);
  // A new play of the effect cuts the previous one off.
  playSfx(blip, 0.5f, 1.0f);
  EXPECT_FALSE(pf::channelPlaying(fresh));
  EXPECT_TRUE(pf::channelPlaying(blip.channel));
}

TEST(InputHelpers, AxisNamesCompareCaseSensitively) {
  freshHeadless();
  pf::inputState().setJoystickCount(2);
  pf::inputState().joyAxis(1, pf::kJoyR, -0.75f);
  settings.joystickport = 1;
  settings.jMoveXAxis = "joyr";
  EXPECT_FLOAT_EQ(joyMoveX(), -0.75f);
  settings.jMoveXAxis = "JOYR";
  EXPECT_FLOAT_EQ(joyMoveX(), 0);
  settings.jMoveXAxis = "None";
  EXPECT_FLOAT_EQ(joyMoveX(), 0);
  settings.jMoveYAxis = "joyr";
  settings.joystickport = 0;
  EXPECT_FLOAT_EQ(joyMoveY(), 0);  // another port
}

TEST(InputHelpers, KeyNamesCoverTheTable) {
  EXPECT_EQ(keyName(8), "Backspace");
  EXPECT_EQ(keyName(13), "Return");
  EXPECT_EQ(keyName(32), "Space");
  EXPECT_EQ(keyName(42), "'print");
  EXPECT_EQ(keyName(48), "0");
  EXPECT_EQ(keyName(57), "9");
  EXPECT_EQ(keyName(65), "A");
  EXPECT_EQ(keyName(90), "Z");
  EXPECT_EQ(keyName(96), "Numpad 0");
  EXPECT_EQ(keyName(105), "Numpad 9");
  EXPECT_EQ(keyName(109), "Numpad -");
  EXPECT_EQ(keyName(112), "F1");
  EXPECT_EQ(keyName(123), "F12");
  EXPECT_EQ(keyName(165), "Alt key (Right)");
  EXPECT_EQ(keyName(187), "Equals");
  EXPECT_EQ(keyName(189), "Minus");
  EXPECT_EQ(keyName(222), "Quote");
  EXPECT_EQ(keyName(226), "Backslash");
  for (int code : {0, 10, 27, 58, 64, 91, 108, 124, 143, 200, 255}) EXPECT_EQ(keyName(code), "") << code;
}

TEST(DrawHelpers, TextIsCentredByItsHalvedIntegerSize) {
  pf::HeadlessBackend& display = freshHeadless();
  const pf::FontPtr font = pf::loadFont("/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf", 20, 5);
  ASSERT_TRUE(font);
  pf::setFont(font.get());
  const std::string text = "Neon Ocean";
  const int w = pf::textWidth(text);
  const int h = pf::textHeight(text);
  display.setRecording(true);
  pf::setScale(2, 2);
  drawTextCentred(text, 400, 300, 1);
  drawTextCentred(text, 400, 300, 0);
  ASSERT_EQ(display.calls().size(), 2u);
  EXPECT_FLOAT_EQ(display.calls()[0].x[0], 400 - (w / 2) * 2.0f);
  EXPECT_FLOAT_EQ(display.calls()[0].y[0], 300 - (h / 2) * 2.0f);
  EXPECT_FLOAT_EQ(display.calls()[1].y[0], 300);
  pf::setFont(nullptr);
}

TEST(DrawHelpers, FadeAndResetLeaveTheDefaultState) {
  pf::HeadlessBackend& display = freshHeadless();
  pf::setColour(10, 20, 30);
  pf::setRotation(45);
  display.setRecording(true);
  drawFade(0.25f);
  ASSERT_EQ(display.calls().size(), 1u);
  const pf::DrawCall& fade = display.calls()[0];
  EXPECT_EQ(fade.kind, pf::DrawCall::Kind::Rect);
  EXPECT_EQ(fade.r, 0);
  EXPECT_NEAR(fade.alpha, 0.25f, 1.0f / 255);
  EXPECT_FLOAT_EQ(fade.x[2], 800);
  EXPECT_FLOAT_EQ(fade.y[2], 600);
  int r, g, b;
  pf::getColour(r, g, b);
  EXPECT_EQ(r + g + b, 255 * 3);
  EXPECT_EQ(pf::getRotation(), 0);
  EXPECT_EQ(pf::getBlend(), pf::kBlendAlpha);
}
