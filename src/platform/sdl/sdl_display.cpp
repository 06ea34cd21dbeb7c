#include "platform/sdl/sdl_display.hpp"

#include <malloc.h>

#include <cstring>

#include "platform/input_state.hpp"
#include "platform/sdl/keymap.hpp"

namespace pf {
namespace {

// Decodes UTF-8 and hands on the characters that Latin-1 can hold.
void typeLatin1(const char* utf8) {
  const auto* s = reinterpret_cast<const unsigned char*>(utf8);
  while (*s != 0) {
    unsigned code = *s;
    int extra = 0;
    if (code >= 0xF0) {
      code &= 0x07;
      extra = 3;
    } else if (code >= 0xE0) {
      code &= 0x0F;
      extra = 2;
    } else if (code >= 0xC0) {
      code &= 0x1F;
      extra = 1;
    } else if (code >= 0x80) {
      ++s;  // a stray continuation byte
      continue;
    }
    ++s;
    for (; extra > 0 && (*s & 0xC0) == 0x80; --extra, ++s) code = (code << 6) | (*s & 0x3F);
    if (extra == 0 && code < 256) inputState().charTyped(static_cast<int>(code));
  }
}

int64_t microseconds(PaceClock::time_point t) {
  return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
}

PaceClock::time_point fromMicroseconds(int64_t us) {
  return PaceClock::time_point(std::chrono::duration_cast<PaceClock::duration>(std::chrono::microseconds(us)));
}

double millisecondsBetween(PaceClock::time_point from, PaceClock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

SdlDisplay::SdlDisplay() {
  joysticks_.openAll();
  const char* quality = SDL_getenv("OVELUNE_QUALITY");
  setQualityAuto(quality == nullptr || std::strcmp(quality, "exact") != 0);
}

SdlDisplay::~SdlDisplay() { close(); }

bool SdlDisplay::open(int width, int height, int depth, std::string* error) {
  close();
  if (width <= 0 || height <= 0) {
    *error = "cannot open a display of " + std::to_string(width) + "x" + std::to_string(height);
    return false;
  }
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  // Full screen is the desktop's own mode: no video mode switch. The window
  // is made desktop-sized from the start so that it covers the screen even
  // where no window manager honours the full-screen request.
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
  int windowWidth = width, windowHeight = height;
  SDL_DisplayMode desktop;
  if (depth != 0) {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
      windowWidth = desktop.w;
      windowHeight = desktop.h;
    }
  }
  window_ = SDL_CreateWindow(title_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth, windowHeight,
                             flags);
  if (window_ == nullptr) {
    *error = std::string("cannot open a window: ") + SDL_GetError() + "; a desktop session or DISPLAY is needed";
    return false;
  }
  context_ = SDL_GL_CreateContext(window_);
  if (context_ == nullptr) {
    *error = std::string("cannot create an OpenGL 3.3 context: ") + SDL_GetError();
    close();
    return false;
  }
  if (!renderer_.init(width, height, error)) {
    close();
    return false;
  }
  width_ = width;
  height_ = height;
  SDL_ShowCursor(pointerVisible_ ? SDL_ENABLE : SDL_DISABLE);
  SDL_StartTextInput();
  vsync_ = false;
  if (depth != 0 && !unpaced_) probeRefresh();
  if (!vsync_ || unpaced_) SDL_GL_SetSwapInterval(0);
  frameStart_ = PaceClock::now();
  pacing_.restart(microseconds(frameStart_));
  stats_ = FrameStats{};
  setSkipping(false);
  return true;
}

void SdlDisplay::close() {
  if (window_ == nullptr) return;
  SDL_StopTextInput();
  if (context_ != nullptr) {
    SDL_GL_MakeCurrent(window_, context_);
    renderer_.shutdown();
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
  }
  SDL_DestroyWindow(window_);
  window_ = nullptr;
  width_ = height_ = 0;
  skipping_ = false;
}

void SdlDisplay::present() {
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window_, &w, &h);
  renderer_.present(w, h);
}

void SdlDisplay::probeRefresh() {
  if (SDL_GL_SetSwapInterval(1) != 0) return;
  RefreshProbe probe;
  int interval = 1;
  auto last = PaceClock::now();
  while (true) {
    SDL_PumpEvents();  // keep the window responsive; events stay queued
    present();
    SDL_GL_SwapWindow(window_);
    const auto now = PaceClock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - last).count();
    last = now;
    const RefreshProbe::Verdict verdict = probe.addSwap(ms);
    if (verdict == RefreshProbe::Verdict::KeepVsync) {
      vsync_ = true;
      return;
    }
    if (verdict == RefreshProbe::Verdict::UseTimer) return;
    if (probe.interval() != interval) {
      interval = probe.interval();
      if (SDL_GL_SetSwapInterval(interval) != 0) return;
    }
  }
}

void SdlDisplay::endFrame(bool keepTime) {
  if (!isOpen()) return;
  const bool drawn = !skipping_;
  // Frames are skipped and the quality chosen only where the game's time
  // must keep up with the clock; anything else is drawn as it always was.
  const bool adaptive = keepTime && !unpaced_;
  PaceClock::time_point workDone = PaceClock::now();
  if (drawn) {
    present();
    if (adaptive) {
      // Waiting for the finished picture tells what the frame cost, and the
      // swap after the wait then only copies it to the window.
      renderer_.finish();
      workDone = PaceClock::now();
    }
  }
  const PaceClock::time_point due = fromMicroseconds(pacing_.due());
  // With vsync a swap waits for the display; a frame not drawn has no swap.
  if (!unpaced_ && (!vsync_ || !drawn)) waitUntil(due);
  double swapMs = 0;
  if (drawn) {
    const PaceClock::time_point swapStart = PaceClock::now();
    SDL_GL_SwapWindow(window_);
    swapMs = millisecondsBetween(swapStart, PaceClock::now());
  }
  const PaceClock::time_point end = PaceClock::now();
  if (vsync_ && drawn) pacing_.resync(microseconds(end));
  const bool drawNext = pacing_.ended(microseconds(end), adaptive);
  ++stats_.frames;
  if (drawn) {
    ++stats_.shown;
    ++stats_.shownAt[static_cast<size_t>(renderer_.quality())];
    if (adaptive) renderer_.setQuality(governor_.frameDrawn(millisecondsBetween(frameStart_, workDone) + swapMs));
    if (frameListener_) frameListener_();
  }
  trimHeap();
  pressSeen_ = false;
  pumpEvents();
  setSkipping(adaptive && !drawNext && !pressSeen_);
  frameStart_ = PaceClock::now();
}

void SdlDisplay::setQualityAuto(bool on) {
  governor_ = QualityGovernor(GlRenderer::kQualityLevels);
  governor_.pinFullQuality(!on);
  if (renderer_.ready()) renderer_.setQuality(0);
}

void SdlDisplay::setSkipping(bool on) {
  if (on == skipping_) return;
  skipping_ = on;
  refreshDrawTarget();
}

void SdlDisplay::trimHeap() {
#ifdef __GLIBC__
  // The rasteriser allocates and frees its per-frame blocks inside the heap;
  // the free pages between live blocks stay resident until handed back.
  constexpr int kTrimFrames = 300;
  if (++framesSinceTrim_ < kTrimFrames) return;
  framesSinceTrim_ = 0;
  malloc_trim(0);
#endif
}

void SdlDisplay::pumpEvents() {
  InputState& in = inputState();
  SDL_Event e;
  while (SDL_PollEvent(&e) != 0) {
    if (e.type == SDL_JOYBUTTONDOWN || (e.type == SDL_KEYDOWN && e.key.repeat == 0)) pressSeen_ = true;
    if (joysticks_.handle(e)) continue;
    switch (e.type) {
      case SDL_QUIT:  // also what SIGINT and SIGTERM turn into
        in.requestClose();
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) in.requestClose();
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) in.setSuspended(true);
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) in.setSuspended(false);
        break;
      case SDL_KEYDOWN:
        if (const int vk = virtualKeyFromScancode(e.key.keysym.scancode); vk != 0) in.keyPressed(vk, e.key.repeat != 0);
        break;
      case SDL_KEYUP:
        if (const int vk = virtualKeyFromScancode(e.key.keysym.scancode); vk != 0) in.keyReleased(vk);
        break;
      case SDL_TEXTINPUT: typeLatin1(e.text.text); break;
      default: break;
    }
  }
}

bool SdlDisplay::idle(int ms) {
  SDL_Delay(static_cast<Uint32>(ms > 0 ? ms : 0));
  pumpEvents();
  return true;
}

void SdlDisplay::setTitle(const std::string& title) {
  title_ = title;
  if (window_ != nullptr) SDL_SetWindowTitle(window_, title_.c_str());
}

void SdlDisplay::setPointerVisible(bool visible) {
  pointerVisible_ = visible;
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace pf
