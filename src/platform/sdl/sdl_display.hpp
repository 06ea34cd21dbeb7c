#pragma once
// The real display: an SDL window with an OpenGL 3.3 core context, the sprite
// renderer, 60 Hz pacing and the event pump that feeds the input state.
#include <SDL.h>

#include <array>
#include <functional>
#include <string>

#include "platform/backend.hpp"
#include "platform/frame_pacing.hpp"
#include "platform/quality_governor.hpp"
#include "platform/sdl/frame_pacer.hpp"
#include "platform/sdl/gl_renderer.hpp"
#include "platform/sdl/sdl_joysticks.hpp"

namespace pf {

class SdlDisplay final : public DisplayBackend {
 public:
  // SDL video (and, if available, joysticks) must be initialised.
  SdlDisplay();
  ~SdlDisplay() override;

  bool open(int width, int height, int depth, std::string* error) override;
  void close() override;
  bool isOpen() const override { return window_ != nullptr; }
  int width() const override { return width_; }
  int height() const override { return height_; }
  void flip() override { endFrame(false); }
  void flipKeepingTime() override { endFrame(true); }
  bool skippingFrame() const override { return skipping_; }
  bool acceptsDraws() const override { return !skipping_; }
  void pumpEvents() override;
  bool idle(int ms) override;
  void setTitle(const std::string& title) override;
  void setPointerVisible(bool visible) override;
  int64_t millisecs() override { return static_cast<int64_t>(SDL_GetTicks64()); }

  void clear(int r, int g, int b) override { renderer_.clear(r, g, b); }
  void drawQuad(const QuadCmd& q) override { renderer_.quad(q); }
  void drawLine(const LineCmd& l) override { renderer_.line(l); }
  void drawPoint(const PointCmd& p) override { renderer_.point(p); }
  void grab(Image& image, int frame, int x, int y) override { renderer_.grab(image, frame, x, y); }
  void forgetImage(const Image& image) override { renderer_.forget(image); }
  void setClip(int x, int y, int w, int h) override { renderer_.setClip(x, y, w, h); }

  // For measurements and test drivers: the renderer, a function called
  // after every presented frame, and flips without the 60 Hz pacing (the
  // frame is presented and swapped as soon as it is drawn).
  GlRenderer& renderer() { return renderer_; }
  void setUnpaced(bool on) { unpaced_ = on; }
  void setFrameListener(std::function<void()> listener) { frameListener_ = std::move(listener); }
  // Frames ended since the display opened, and those shown, by the render
  // quality they were drawn at.
  struct FrameStats {
    uint64_t frames = 0, shown = 0;
    std::array<uint64_t, GlRenderer::kQualityLevels> shownAt{};
  };
  const FrameStats& frameStats() const { return stats_; }
  // The render quality follows the cost of drawn frames in loops that keep
  // time (auto, the default), or stays full (OVELUNE_QUALITY=exact). Either
  // way it starts afresh at full quality.
  void setQualityAuto(bool on);

 private:
  // Every few seconds, hands the heap's free pages back to the system.
  void trimHeap();
  // The end of every frame: present (when drawn), pace, swap, then choose
  // the render quality and whether the next frame is drawn.
  void endFrame(bool keepTime);
  void setSkipping(bool on);
  void present();
  void probeRefresh();

  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  GlRenderer renderer_;
  SdlJoysticks joysticks_;
  FramePacing pacing_;
  QualityGovernor governor_{GlRenderer::kQualityLevels};
  FrameStats stats_;
  PaceClock::time_point frameStart_{};
  bool skipping_ = false;
  bool pressSeen_ = false;  // a key or button went down in the last pump
  bool vsync_ = false;
  bool unpaced_ = false;
  int framesSinceTrim_ = 0;
  int width_ = 0, height_ = 0;
  std::string title_ = "Ovelune";
  bool pointerVisible_ = true;
  std::function<void()> frameListener_;
};

}  // namespace pf
