#pragma once
// The seam between the portable platform layer and a concrete backend (SDL +
// OpenGL + OpenAL, or headless). The portable layer owns the drawing state and
// the transform; a display backend only receives finished primitives.
#include <cstdint>
#include <string>

#include "platform/channel_state.hpp"
#include "platform/draw_state.hpp"
#include "platform/image.hpp"
#include "platform/sound.hpp"

namespace pf {

// What every primitive is drawn with: the drawing state's colour and alpha,
// clamped to bytes, and its blend mode.
struct Paint {
  uint8_t r = 255, g = 255, b = 255, a = 255;
  int blend = kBlendAlpha;
};

// A textured (or, with image == nullptr, solid) quad. Corners run top-left,
// top-right, bottom-right, bottom-left of the source rectangle, already
// transformed to screen coordinates.
struct QuadCmd {
  const Image* image = nullptr;
  int frame = 0;
  float x[4] = {0, 0, 0, 0};
  float y[4] = {0, 0, 0, 0};
  float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
  Paint paint;
};

struct LineCmd {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  float width = 1;
  bool smooth = false;
  Paint paint;
};

struct PointCmd {
  float x = 0, y = 0;
  Paint paint;
};

// Announces a text run; the glyph quads follow until endText().
struct TextCmd {
  const std::string* text = nullptr;
  float x[4] = {0, 0, 0, 0};  // corners of the text box (width x line height)
  float y[4] = {0, 0, 0, 0};
  Paint paint;
};

class DisplayBackend {
 public:
  // Uninstalls itself if installed, so late clean-up never reaches a dead backend.
  virtual ~DisplayBackend();

  // depth 0 opens a window, any other depth the desktop full screen. On
  // failure returns false and fills `error` with one line for the user.
  virtual bool open(int width, int height, int depth, std::string* error) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual int width() const = 0;
  virtual int height() const = 0;
  // Presents the back buffer, paces to 60 Hz and pumps events.
  virtual void flip() = 0;
  // Ends a frame of a loop whose updates keep wall time (pf::flipKeepingTime).
  // A backend that never leaves frames undrawn simply flips.
  virtual void flipKeepingTime() { flip(); }
  // True while the current frame is left undrawn to catch up with the clock;
  // acceptsDraws() is false meanwhile.
  virtual bool skippingFrame() const { return false; }
  virtual void pumpEvents() = 0;
  // Waits a little while for input to arrive; false when none ever can.
  virtual bool idle(int ms) = 0;
  virtual void setTitle(const std::string& title) = 0;
  virtual void setPointerVisible(bool visible) = 0;
  virtual int64_t millisecs() = 0;

  // Drawing. When acceptsDraws() is false the portable layer skips building
  // primitives altogether (a headless run that records nothing).
  virtual bool acceptsDraws() const { return true; }
  virtual void clear(int r, int g, int b) = 0;
  virtual void drawQuad(const QuadCmd& q) = 0;
  virtual void drawLine(const LineCmd& l) = 0;
  virtual void drawPoint(const PointCmd& p) = 0;
  virtual void beginText(const TextCmd&) {}
  virtual void endText() {}
  virtual void setLineSmoothing(bool) {}
  // Limits the pixels drawing may touch (w <= 0: the whole screen).
  virtual void setClip(int, int, int, int) {}
  // Copies back-buffer pixels at (x, y), of the image's size, into the frame.
  virtual void grab(Image& image, int frame, int x, int y) = 0;
  // The image is going away; drop anything cached for it.
  virtual void forgetImage(const Image&) {}
};

class AudioBackend {
 public:
  // Uninstalls itself if installed (see DisplayBackend).
  virtual ~AudioBackend();
  virtual void play(const std::shared_ptr<ChannelState>& channel, const Sound& sound) = 0;
  virtual void stop(ChannelState& channel) = 0;
  virtual void applyVolume(ChannelState& channel) = 0;
  virtual void applyRate(ChannelState& channel) = 0;
  virtual bool playing(ChannelState& channel) = 0;
  // The last handle to the channel is gone.
  virtual void release(ChannelState& channel) = 0;
  // The sound is going away.
  virtual void forgetSound(const Sound&) {}
  // Silences every channel (they play on unheard) or lets them be heard.
  virtual void setMuted(bool) {}
};

// Installs the backends the portable layer talks to (not owned). Passing null
// uninstalls. Images and sounds created later are served by these backends.
void installDisplayBackend(DisplayBackend* display);
void installAudioBackend(AudioBackend* audio);
DisplayBackend* displayBackend();
AudioBackend* audioBackend();
// The display that drawing goes to right now: open and accepting draws, or
// null. Kept up to date by openDisplay/closeDisplay/installDisplayBackend; a
// backend whose acceptsDraws() changes calls refreshDrawTarget().
DisplayBackend* drawTarget();
void refreshDrawTarget();

}  // namespace pf
