#include "platform/headless/headless_backend.hpp"

#include <algorithm>

#include "platform/input_state.hpp"
#include "platform/platform.hpp"

namespace pf {
namespace {

DrawCall fromQuad(const QuadCmd& q) {
  DrawCall c;
  c.kind = q.image != nullptr ? DrawCall::Kind::Image : DrawCall::Kind::Rect;
  c.image = q.image;
  c.frame = q.frame;
  for (int i = 0; i < 4; ++i) {
    c.x[i] = q.x[i];
    c.y[i] = q.y[i];
  }
  c.setPaint(q.paint);
  return c;
}

}  // namespace

bool HeadlessBackend::open(int width, int height, int depth, std::string* error) {
  if (depth == refusedDepth_) {
    if (error != nullptr) *error = "cannot open a display at depth " + std::to_string(depth);
    return false;
  }
  if (width <= 0 || height <= 0) {
    if (error != nullptr) *error = "cannot open a display of " + std::to_string(width) + "x" + std::to_string(height);
    return false;
  }
  width_ = width;
  height_ = height;
  depth_ = depth;
  open_ = true;
  return true;
}

void HeadlessBackend::endFrame(bool keepTime) {
  const bool drawn = !skipping_;
  if (drawCostMs_ == 0) {
    clockMs_ += nextFrameMs(carry_);  // drawing takes no time: the plain 60 Hz rule
  } else {
    // The frame's work, then the wait for its moment.
    const int64_t workDone = clockMs_ + (drawn ? drawCostMs_ : 0);
    clockMs_ = std::max(workDone, pacing_.due() / 1000);
    skipping_ = !pacing_.ended(clockMs_ * 1000, keepTime);
    refreshDrawTarget();
  }
  ++frames_;
  if (drawn) ++shown_;
  if (frameHook_) frameHook_();
}

void HeadlessBackend::simulateDrawingCost(int ms) {
  drawCostMs_ = std::max(ms, 0);
  pacing_.restart(clockMs_ * 1000);
  skipping_ = false;
  refreshDrawTarget();
}

bool HeadlessBackend::idle(int ms) {
  clockMs_ += ms;
  if (!frameHook_) return false;
  frameHook_();
  return true;
}

void HeadlessBackend::clear(int r, int g, int b) {
  if (!recording_) return;
  DrawCall c;
  c.kind = DrawCall::Kind::Clear;
  c.r = r;
  c.g = g;
  c.b = b;
  calls_.push_back(std::move(c));
}

void HeadlessBackend::drawQuad(const QuadCmd& q) {
  if (inText_) return;  // glyphs are summed up by the text call
  calls_.push_back(fromQuad(q));
}

void HeadlessBackend::drawLine(const LineCmd& l) {
  DrawCall c;
  c.kind = DrawCall::Kind::Line;
  c.x[0] = l.x1;
  c.y[0] = l.y1;
  c.x[1] = l.x2;
  c.y[1] = l.y2;
  c.setPaint(l.paint);
  c.lineWidth = l.width;
  calls_.push_back(std::move(c));
}

void HeadlessBackend::drawPoint(const PointCmd& p) {
  DrawCall c;
  c.kind = DrawCall::Kind::Point;
  c.x[0] = p.x;
  c.y[0] = p.y;
  c.setPaint(p.paint);
  calls_.push_back(std::move(c));
}

void HeadlessBackend::beginText(const TextCmd& t) {
  DrawCall c;
  c.kind = DrawCall::Kind::Text;
  for (int i = 0; i < 4; ++i) {
    c.x[i] = t.x[i];
    c.y[i] = t.y[i];
  }
  c.setPaint(t.paint);
  c.text = *t.text;
  calls_.push_back(std::move(c));
  inText_ = true;
}

void HeadlessBackend::restart() {
  recording_ = false;
  calls_.clear();
  frameHook_ = nullptr;
  refusedDepth_ = -1;
  clockMs_ = 0;
  carry_ = 0;
  frames_ = 0;
  shown_ = 0;
  drawCostMs_ = 0;
  skipping_ = false;
  refreshDrawTarget();
}

HeadlessBackend& installHeadless() {
  static HeadlessBackend display;
  static SilentAudio audio;
  display.restart();
  installDisplayBackend(&display);
  installAudioBackend(&audio);
  inputState().reset();
  resetPlatformDrawState();
  openDisplay(800, 600, 0);
  return display;
}

}  // namespace pf
