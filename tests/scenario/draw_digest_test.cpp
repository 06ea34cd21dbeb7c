// Whole frames as the drawing layer saw them: a digest of every recorded draw
// call (kind, image size and frame, transformed corners, colour, alpha, blend,
// line width, text) over a stretch of play and of the title menu. The pinned
// values were taken from the game as it drew when drawing code still set image
// handles itself (the menu's once the carousel held all six ships); they change
// only when what reaches the screen changes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "essentials/settings.hpp"
#include "frontend/menu.hpp"
#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "scenario_support.hpp"

namespace {

// FNV-1a over the bytes of each field; corners rounded to 1/1000 pixel so the
// digest speaks of placement, not of the last bit of a float.
class Digest {
 public:
  void add(int64_t v) {
    for (int i = 0; i < 8; ++i) {
      hash_ ^= static_cast<uint64_t>(v >> (8 * i)) & 0xff;
      hash_ *= 1099511628211ull;
    }
  }
  void addCoord(float v) { add(static_cast<int64_t>(std::llround(static_cast<double>(v) * 1000.0))); }
  void add(const pf::DrawCall& c) {
    add(static_cast<int64_t>(c.kind));
    add(c.image != nullptr ? c.image->width() * 10000 + c.image->height() : -1);
    add(c.frame);
    for (int i = 0; i < 4; ++i) {
      addCoord(c.x[i]);
      addCoord(c.y[i]);
    }
    add(c.r);
    add(c.g);
    add(c.b);
    addCoord(c.alpha);
    add(c.blend);
    addCoord(c.lineWidth);
    for (char ch : c.text) add(ch);
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 1469598103934665603ull;
};

uint64_t digestOf(const std::vector<pf::DrawCall>& calls) {
  Digest d;
  for (const pf::DrawCall& c : calls) d.add(c);
  return d.value();
}

}  // namespace

TEST(DrawDigest, GameFramesDrawTheSameCornersAsBefore) {
  auto g = newRun(1, 7);
  pf::HeadlessBackend& display = static_cast<pf::HeadlessBackend&>(*pf::displayBackend());
  display.setRecording(true);
  pf::inputState().keyPressed(settings.fire1key);
  Digest all;
  size_t calls = 0;
  for (int frame = 0; frame < 900; ++frame) {
    runFrames(*g, 1);
    calls += display.calls().size();
    all.add(static_cast<int64_t>(digestOf(display.calls())));
    display.clearCalls();
  }
  pf::inputState().keyReleased(settings.fire1key);
  display.setRecording(false);
  EXPECT_EQ(calls, 1304576u);
  EXPECT_EQ(all.value(), 7855858067406067659ull);
}

TEST(DrawDigest, MenuFramesDrawTheSameCornersAsBefore) {
  newRun(1, 7);
  pf::HeadlessBackend& display = static_cast<pf::HeadlessBackend&>(*pf::displayBackend());
  auto m = menu::Create();
  display.setRecording(true);
  Digest all;
  size_t calls = 0;
  for (int frame = 0; frame < 240; ++frame) {
    m->Update();
    pf::flip();
    calls += display.calls().size();
    all.add(static_cast<int64_t>(digestOf(display.calls())));
    display.clearCalls();
  }
  display.setRecording(false);
  EXPECT_EQ(calls, 32574u);
  EXPECT_EQ(all.value(), 3085341394859004916ull);
}
