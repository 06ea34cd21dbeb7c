#pragma once
// A display backend without a window or GPU. It keeps the same state as the
// real one, advances a virtual clock by exactly one 60 Hz frame per flip, lets
// tests and the simulator feed input, and can record every draw call.
#include <functional>
#include <string>
#include <vector>

#include "platform/backend.hpp"
#include "platform/frame_pacing.hpp"
#include "platform/silent_audio.hpp"

namespace pf {

struct DrawCall {
  enum class Kind { Clear, Image, Rect, Line, Point, Text };
  Kind kind = Kind::Image;
  const Image* image = nullptr;
  int frame = 0;
  float x[4] = {0, 0, 0, 0};  // transformed corners (line: x[0..1], y[0..1])
  float y[4] = {0, 0, 0, 0};
  int r = 255, g = 255, b = 255;
  float alpha = 1.0f;  // the byte alpha / 255
  int blend = kBlendAlpha;
  float lineWidth = 1.0f;
  std::string text;

  void setPaint(const Paint& p) {
    r = p.r;
    g = p.g;
    b = p.b;
    alpha = static_cast<float>(p.a) / 255.0f;
    blend = p.blend;
  }
};

class HeadlessBackend final : public DisplayBackend {
 public:
  bool open(int width, int height, int depth, std::string* error) override;
  void close() override { open_ = false; }
  bool isOpen() const override { return open_; }
  int width() const override { return width_; }
  int height() const override { return height_; }
  void flip() override { endFrame(false); }
  void flipKeepingTime() override { endFrame(true); }
  bool skippingFrame() const override { return skipping_; }
  void pumpEvents() override {}
  bool idle(int ms) override;
  void setTitle(const std::string& title) override { title_ = title; }
  void setPointerVisible(bool visible) override { pointerVisible_ = visible; }
  int64_t millisecs() override { return clockMs_; }

  bool acceptsDraws() const override { return recording_ && !skipping_; }
  void clear(int r, int g, int b) override;
  void drawQuad(const QuadCmd& q) override;
  void drawLine(const LineCmd& l) override;
  void drawPoint(const PointCmd& p) override;
  void beginText(const TextCmd& t) override;
  void endText() override { inText_ = false; }
  void grab(Image&, int, int, int) override {}

  // ---- test and simulator controls
  void setRecording(bool on) {
    recording_ = on;
    refreshDrawTarget();
  }
  const std::vector<DrawCall>& calls() const { return calls_; }
  void clearCalls() { calls_.clear(); }
  // Called at the end of every flip (after the clock advanced) and while
  // waiting for a key; the simulator feeds scripted input from here.
  void setFrameHook(std::function<void()> hook) { frameHook_ = std::move(hook); }
  int64_t frames() const { return frames_; }
  // A renderer that needs `ms` of the virtual clock for each drawn frame
  // (0, the default: drawing takes no time). Frames ended with
  // flipKeepingTime() are then paced as the real display paces them, and
  // those that cannot be shown in time are left undrawn.
  void simulateDrawingCost(int ms);
  // Frames ended drawn (all of them unless drawing has a cost).
  int64_t shownFrames() const { return shown_; }
  int depth() const { return depth_; }
  bool pointerVisible() const { return pointerVisible_; }
  const std::string& title() const { return title_; }
  // Display opens at this depth fail, as a mode the machine cannot show
  // would (-1: every depth opens).
  void refuseDepth(int depth) { refusedDepth_ = depth; }
  // Back to a new backend's state: clock and frame count at 0, no recording,
  // no recorded calls, no frame hook, every depth accepted.
  void restart();

 private:
  bool open_ = false;
  int width_ = 0, height_ = 0, depth_ = 0;
  int refusedDepth_ = -1;
  bool recording_ = false;
  bool inText_ = false;
  bool pointerVisible_ = true;
  std::string title_;
  int64_t clockMs_ = 0;
  int carry_ = 0;  // sixtieths of a millisecond carried between frames
  int64_t frames_ = 0;
  int64_t shown_ = 0;
  int drawCostMs_ = 0;
  FramePacing pacing_;
  bool skipping_ = false;

  void endFrame(bool keepTime);
  std::vector<DrawCall> calls_;
  std::function<void()> frameHook_;
};

// Installs a headless display with silent audio for tests and the simulator,
// opens it at 800 x 600 and resets input. Returns the display.
HeadlessBackend& installHeadless();

}  // namespace pf
