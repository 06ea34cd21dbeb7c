// The real display under X: the renderer's pixels and the event pump. Without a DISPLAY the test
// starts its own Xvfb when one is on PATH, and skips otherwise.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <SDL.h>

#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/gl_renderer.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "platform/sdl/sdl_display.hpp"
#include "private_x_server.hpp"
#include "test_support.hpp"

namespace {

struct Rgb {
  int r, g, b;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

PrivateXServer xserver;

class SdlRendererTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("ALSOFT_DRIVERS", "null", 0);  // no sound card needed or probed
    xserver.startUnlessDisplaySet();
  }
  static void TearDownTestSuite() { xserver.stop(); }

  void SetUp() override {
    if (!displaySet()) SKIP_UNLESS_CI("no DISPLAY and no Xvfb");
    if (!pf::installSdlBackends()) SKIP_UNLESS_CI(pf::sdlInitError());
    installed_ = true;
    pf::resetPlatformDrawState();
    ASSERT_TRUE(pf::openDisplay(64, 64, 0)) << pf::lastDisplayError();
    screen_ = pf::createImage(64, 64, 1, 0);
  }
  void TearDown() override {
    if (installed_) pf::shutdownSdlBackends();
  }

  Rgb at(int x, int y) {
    pf::grabImage(*screen_, 0, 0);
    const uint32_t p = screen_->pixels(0)[static_cast<size_t>(y) * 64 + x];
    return Rgb{static_cast<int>(p & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>((p >> 16) & 0xFF)};
  }

  static void near(const Rgb& got, const Rgb& want) {
    EXPECT_NEAR(got.r, want.r, 1) << got;
    EXPECT_NEAR(got.g, want.g, 1) << got;
    EXPECT_NEAR(got.b, want.b, 1) << got;
  }

  bool installed_ = false;
  pf::ImagePtr screen_;
};

TEST_F(SdlRendererTest, BlendModesCombineAsSpecified) {
  pf::clear();
  // Solid red, then half-alpha blue added over its right half and beyond.
  pf::setBlend(pf::kBlendSolid);
  pf::setColour(255, 0, 0);
  pf::fillRect(0, 0, 32, 16);
  pf::setBlend(pf::kBlendLight);
  pf::setColour(0, 0, 255);
  pf::setAlpha(0.5f);
  pf::fillRect(16, 0, 32, 16);
  near(at(8, 8), {255, 0, 0});
  near(at(24, 8), {255, 0, 127});
  near(at(40, 8), {0, 0, 127});
  EXPECT_EQ(at(56, 8), (Rgb{0, 0, 0}));

  // Shade multiplies; alpha mixes.
  pf::setAlpha(1);
  pf::setBlend(pf::kBlendSolid);
  pf::setColour(128, 128, 128);
  pf::fillRect(0, 16, 64, 16);
  pf::setBlend(pf::kBlendShade);
  pf::setColour(255, 0, 128);
  pf::fillRect(0, 16, 32, 16);
  pf::setBlend(pf::kBlendAlpha);
  pf::setColour(255, 255, 255);
  pf::setAlpha(0.5f);
  pf::fillRect(32, 16, 32, 16);
  near(at(8, 20), {128, 0, 64});
  near(at(40, 20), {191, 191, 191});

  // Mask: texels of alpha below one half are not drawn at all, the others
  // are drawn without blending.
  pf::ImagePtr sprite = pf::createImage(2, 1, 1, 0);
  sprite->pixels(0) = {pf::packRgba(0, 255, 0, 200), pf::packRgba(0, 255, 0, 100)};
  sprite->markDirty();
  pf::setAlpha(1);
  pf::setBlend(pf::kBlendMask);
  pf::setScale(16, 16);
  pf::drawImage(*sprite, 0, 32);
  pf::setScale(1, 1);
  EXPECT_EQ(at(8, 40), (Rgb{0, 255, 0}));
  EXPECT_EQ(at(24, 40), (Rgb{0, 0, 0}));
}

// At lowered quality large soft glows are drawn at a coarser resolution and
// added onto the screen later: whatever does not add light must still land
// over the glows drawn before it and under those after it.
TEST_F(SdlRendererTest, LoweredQualityKeepsWhatCoversTheGlowsOnTop) {
  pf::ImagePtr glow = pf::createImage(32, 32, 1, pf::kImageFiltered);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const float d = std::hypot(x + 0.5f - 16, y + 0.5f - 16) / 16;
      glow->pixels(0)[static_cast<size_t>(y * 32 + x)] =
          pf::packRgba(255, 255, 255, static_cast<uint8_t>(255 * std::max(0.0f, 1 - d * d)));
    }
  }
  glow->markDirty();
  auto scene = [&] {
    pf::clear();
    pf::setBlend(pf::kBlendLight);
    pf::setScale(2, 2);
    pf::setColour(0, 60, 120);
    pf::drawImage(*glow, 0, 0);  // covers the screen
    pf::setScale(1, 1);
    pf::setBlend(pf::kBlendAlpha);
    pf::setColour(255, 0, 0);
    pf::fillRect(0, 0, 24, 64);  // over the glow
    pf::setBlend(pf::kBlendLight);
    pf::setScale(1.5f, 1.5f);
    pf::setColour(0, 255, 0);
    pf::setAlpha(0.5f);
    pf::drawImage(*glow, 0, 32);  // over the red
    pf::resetPlatformDrawState();
    pf::flip();
    pf::grabImage(*screen_, 0, 0);
    return screen_->pixels(0);
  };
  pf::GlRenderer& renderer = pf::sdlDisplay()->renderer();
  const std::vector<uint32_t> exact = scene();
  renderer.setQuality(pf::GlRenderer::kQualityLevels - 1);
  const std::vector<uint32_t> lowered = scene();
  renderer.setQuality(0);
  int worst = 0;
  for (size_t i = 0; i < exact.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      worst = std::max(worst, std::abs(static_cast<int>((exact[i] >> shift) & 0xFF) -
                                       static_cast<int>((lowered[i] >> shift) & 0xFF)));
    }
  }
  EXPECT_GT(worst, 0) << "nothing was drawn coarser";
  EXPECT_LE(worst, 12);
  EXPECT_EQ(lowered[static_cast<size_t>(10 * 64 + 10)], pf::packRgba(255, 0, 0, 255)) << "the red is under the glow";
  EXPECT_GT((lowered[static_cast<size_t>(50 * 64 + 12)] >> 8) & 0xFF, 40u) << "the green glow is under the red";
}

// Light-blended primitives of one texture are drawn together however they
// alternate with others; the picture must be the one drawn in order, one
// draw call each.
TEST_F(SdlRendererTest, LightDrawnOutOfOrderGivesThePictureDrawnInOrder) {
  pf::ImagePtr dot = pf::createImage(8, 8, 1, pf::kImageFiltered);
  for (size_t i = 0; i < 64; ++i) dot->pixels(0)[i] = pf::packRgba(255, 200, 100, static_cast<uint8_t>(i * 4));
  dot->markDirty();
  pf::GlRenderer& renderer = pf::sdlDisplay()->renderer();
  auto scene = [&](bool batched) {
    renderer.setBatching(batched);
    pf::clear();
    const uint64_t calls = renderer.drawCalls();
    for (int i = 0; i < 40; ++i) {
      const auto f = static_cast<float>(i);
      pf::setBlend(pf::kBlendLight);
      pf::setAlpha(0.6f);
      pf::setColour(40 + i * 5, 90, 255 - i * 3);
      pf::setScale(2, 2);
      pf::drawImage(*dot, std::fmod(f * 7, 50), std::fmod(f * 11, 50));
      pf::setScale(1, 1);
      pf::plot(std::fmod(f * 5, 60), std::fmod(f * 3, 60));
      if (i % 10 == 9) {  // covers some of the light so far
        pf::setBlend(pf::kBlendAlpha);
        pf::setAlpha(0.5f);
        pf::fillRect(f, 10, 12, 30);
      }
    }
    pf::resetPlatformDrawState();
    pf::grabImage(*screen_, 0, 0);
    renderer.setBatching(true);
    return std::make_pair(screen_->pixels(0), renderer.drawCalls() - calls);
  };
  const auto [inOrder, callsInOrder] = scene(false);
  const auto [batched, callsBatched] = scene(true);
  EXPECT_EQ(batched, inOrder);
  EXPECT_LE(callsBatched, 12u) << callsInOrder << " in order";
}

TEST_F(SdlRendererTest, GrabKeepsRowOrderAndTheBufferSurvivesFlips) {
  pf::setClearColour(10, 20, 30);
  pf::clear();
  pf::setBlend(pf::kBlendSolid);
  pf::setColour(255, 255, 255);
  pf::plot(1, 0);
  pf::drawLine(10, 58, 50, 58);
  pf::flip();
  pf::flip();  // nothing clears the off-screen buffer between frames
  EXPECT_EQ(at(1, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(at(0, 0), (Rgb{10, 20, 30}));
  EXPECT_EQ(at(1, 1), (Rgb{10, 20, 30}));
  EXPECT_EQ(at(30, 58), (Rgb{255, 255, 255}));
  EXPECT_EQ(at(30, 57), (Rgb{10, 20, 30}));
  EXPECT_EQ(at(30, 59), (Rgb{10, 20, 30}));

  // A grab reaching past the screen edge reads opaque black there.
  pf::ImagePtr corner = pf::createImage(4, 4, 1, 0);
  pf::grabImage(*corner, 62, 62);
  EXPECT_EQ(corner->pixels(0)[0], pf::packRgba(10, 20, 30, 255));
  EXPECT_EQ(corner->pixels(0)[3], pf::packRgba(0, 0, 0, 255));
}

TEST_F(SdlRendererTest, ImagesSurviveReopeningTheDisplayAndRedrawAfterGrab) {
  pf::ImagePtr sprite = pf::createImage(4, 4, 1, 0);
  for (uint32_t& p : sprite->pixels(0)) p = pf::packRgba(255, 128, 0, 255);
  sprite->markDirty();
  pf::setBlend(pf::kBlendSolid);
  pf::drawImage(*sprite, 0, 0);
  pf::flip();
  pf::closeDisplay();
  ASSERT_TRUE(pf::openDisplay(64, 64, 0)) << pf::lastDisplayError();
  pf::drawImage(*sprite, 8, 8);
  EXPECT_EQ(at(9, 9), (Rgb{255, 128, 0}));

  // A grab into the image changes what it draws from then on.
  pf::setColour(0, 0, 255);
  pf::fillRect(20, 20, 4, 4);
  pf::setColour(255, 255, 255);
  pf::grabImage(*sprite, 20, 20);
  pf::drawImage(*sprite, 40, 40);
  EXPECT_EQ(at(41, 41), (Rgb{0, 0, 255}));
}

TEST_F(SdlRendererTest, MinifiedMipmappedStrokesStayBright) {
  // Two-pixel white strokes, six pixels apart and off the even texel grid,
  // drawn at the HUD text's scale: like the strokes of small text they must
  // stay nearly white instead of fading into the next mipmap's grey.
  pf::ImagePtr strokes = pf::createImage(64, 64, 1, pf::kImageFiltered | pf::kImageMipmapped);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool ink = x % 6 == 1 || x % 6 == 2;
      strokes->pixels(0)[static_cast<size_t>(y) * 64 + x] = pf::packRgba(255, 255, 255, ink ? 255 : 0);
    }
  strokes->markDirty();
  pf::clear();
  pf::setBlend(pf::kBlendLight);
  pf::setScale(0.55f, 0.55f);
  pf::drawImage(*strokes, 0, 0);
  pf::setScale(1, 1);
  int brightest = 0;
  for (int x = 2; x < 30; ++x) brightest = std::max(brightest, at(x, 10).g);
  EXPECT_GE(brightest, 190);
}

TEST_F(SdlRendererTest, LongRunsAndManySmallBatchesAllLand) {
  // 10000 one-pixel quads: one batch longer than a draw call holds, then as
  // many one-quad batches (alternating modes), more than the vertex ring holds.
  auto colourOf = [](int i) { return Rgb{i % 256, (i / 256) % 256, 77}; };
  for (const bool alternate : {false, true}) {
    pf::clear();
    for (int i = 0; i < 10000; ++i) {
      pf::setBlend(alternate && i % 2 == 1 ? pf::kBlendMask : pf::kBlendSolid);
      const Rgb c = colourOf(i);
      pf::setColour(c.r, c.g, c.b);
      pf::fillRect(static_cast<float>(i % 64), static_cast<float>((i / 64) % 64), 1, 1);
    }
    // The last quad drawn on each pixel wins.
    for (const int i : {9999, 9000, 8191, 8192, 5904}) {
      EXPECT_EQ(at(i % 64, (i / 64) % 64), colourOf(i)) << "quad " << i << (alternate ? " (alternating)" : "");
    }
  }
}

TEST(SdlBackends, NoDisplayServerGivesOneClearLineInsteadOfAnInvisibleGame) {
  const char* saved = std::getenv("DISPLAY");
  const std::string display = saved != nullptr ? saved : "";
  setenv("DISPLAY", ":none-here", 1);
  const bool installed = pf::installSdlBackends();
  if (installed) pf::shutdownSdlBackends();
  if (display.empty()) {
    unsetenv("DISPLAY");
  } else {
    setenv("DISPLAY", display.c_str(), 1);
  }
  if (std::getenv("WAYLAND_DISPLAY") != nullptr) GTEST_SKIP() << "a Wayland session answers instead";
  EXPECT_FALSE(installed);
  EXPECT_NE(pf::sdlInitError().find("DISPLAY is needed"), std::string::npos) << pf::sdlInitError();
  EXPECT_EQ(pf::sdlInitError().find('\n'), std::string::npos);
}

void pushKey(Uint32 type, SDL_Scancode scancode, Uint8 repeat) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.scancode = scancode;
  e.key.repeat = repeat;
  SDL_PushEvent(&e);
}

void pushText(const char* utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
  SDL_PushEvent(&e);
}

void pushWindowEvent(SDL_WindowEventID id) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = id;
  SDL_PushEvent(&e);
}

TEST_F(SdlRendererTest, EventPumpFeedsKeysTextFocusAndCloseRequests) {
  // Let the new window's own focus and exposure events pass first.
  for (int i = 0; i < 5; ++i) pf::flip();
  pf::flushKeys();
  pushKey(SDL_KEYDOWN, SDL_SCANCODE_UP, 0);
  pushKey(SDL_KEYDOWN, SDL_SCANCODE_UP, 1);        // auto-repeat counts as a press
  pushKey(SDL_KEYDOWN, SDL_SCANCODE_VOLUMEUP, 0);  // no virtual key: ignored
  pushText("a\xC3\xA9\xE2\x82\xAC!");              // a, e-acute, euro sign, !
  pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  pf::pumpEvents();
  EXPECT_TRUE(pf::keyDown(pf::vk::kUp));
  EXPECT_EQ(pf::keyHit(pf::vk::kUp), 2);
  EXPECT_EQ(pf::getChar(), 'a');
  EXPECT_EQ(pf::getChar(), 0xE9);
  EXPECT_EQ(pf::getChar(), '!');  // the euro sign has no Latin-1 code
  EXPECT_EQ(pf::getChar(), 0);
  EXPECT_TRUE(pf::appSuspended());

  pushKey(SDL_KEYUP, SDL_SCANCODE_UP, 0);
  pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  pf::flip();  // flips pump events too
  EXPECT_FALSE(pf::keyDown(pf::vk::kUp));
  EXPECT_FALSE(pf::appSuspended());
  EXPECT_TRUE(pf::takeCloseRequest());
  EXPECT_FALSE(pf::takeCloseRequest());
}

int attachPad() {
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 16, 0);
  pf::pumpEvents();
  return index;
}

SDL_Joystick* openedPad(int index) { return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index)); }

void detachPad(SDL_JoystickID id) {
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }
  pf::pumpEvents();
}

TEST_F(SdlRendererTest, JoysticksKeepTheirPortsAcrossHotPlugging) {
  if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) SKIP_UNLESS_CI("no joystick subsystem");
  const int base = pf::joyCount();
  const int first = attachPad();
  ASSERT_GE(first, 0) << SDL_GetError();
  const SDL_JoystickID firstId = SDL_JoystickGetDeviceInstanceID(first);
  const int second = attachPad();
  ASSERT_GE(second, 0) << SDL_GetError();
  ASSERT_EQ(pf::joyCount(), base + 2);

  SDL_Joystick* pad = openedPad(second);
  ASSERT_NE(pad, nullptr) << "the display did not open the new device";
  SDL_JoystickSetVirtualButton(pad, 3, SDL_PRESSED);
  SDL_JoystickSetVirtualAxis(pad, 1, -32768);
  SDL_JoystickUpdate();
  pf::pumpEvents();
  const int port = base + 1;
  EXPECT_TRUE(pf::joyDown(3, port));
  EXPECT_EQ(pf::joyHit(3, port), 1);
  EXPECT_FLOAT_EQ(pf::joyAxis(pf::kJoyY, port), -1.0f);

  // Unplugging the first pad leaves the second on its port.
  detachPad(firstId);
  EXPECT_EQ(pf::joyCount(), base + 2);
  EXPECT_TRUE(pf::joyDown(3, port));
  // Unplugging the second one releases its button and centres its axes.
  detachPad(SDL_JoystickInstanceID(pad));
  EXPECT_EQ(pf::joyCount(), base);
  EXPECT_FALSE(pf::joyDown(3, port));
  EXPECT_EQ(pf::joyAxis(pf::kJoyY, port), 0.0f);
}

}  // namespace
