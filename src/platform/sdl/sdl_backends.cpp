#include "platform/sdl/sdl_backends.hpp"

#include <SDL.h>
#include <X11/Xlib.h>
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/openal_audio.hpp"
#include "platform/sdl/sdl_display.hpp"
#include "platform/silent_audio.hpp"

namespace pf {
namespace {

struct SdlBackends {
  std::unique_ptr<SdlDisplay> display;
  std::unique_ptr<OpenAlAudio> openal;
  SilentAudio silent;
  std::string initError;

  void shutdown() {
    if (display == nullptr) return;
    if (displayBackend() == display.get()) installDisplayBackend(nullptr);
    AudioBackend* audio = audioBackend();
    if (audio == openal.get() || audio == &silent) installAudioBackend(nullptr);
    display.reset();
    openal.reset();
    inputState().setJoystickCount(0);
    SDL_Quit();
  }
};

// Never destroyed by the C++ run time: SDL and GL are torn down only by an
// explicit shutdownSdlBackends(). Teardown from static destructors would run
// even on an exit forced by a lost display, and SDL_DestroyWindow then waits
// forever for an answer from the dead X connection.
SdlBackends& backends() {
  static SdlBackends* b = new SdlBackends;
  return *b;
}

// Xlib calls this when the X connection breaks (the server ended or the
// socket closed) and ends the process if it returns. The game's handler saves
// what it can and ends the process itself, without any teardown that would
// talk to the dead server.
int onXConnectionLost(Display*) {
  if (DisplayLostHandler lost = displayLostHandler()) lost();
  std::fputs("Ovelune: the connection to the display was lost\n", stderr);
  return 0;
}

const char* orNone(const char* s) { return s != nullptr && *s != 0 ? s : "not set"; }

// SDL falls back to drivers that show nothing when no display server
// answers; a player would then face an invisible game. They count only when
// asked for by name.
bool showsNothing(const char* driver) {
  const std::string name = driver != nullptr ? driver : "";
  return (name == "offscreen" || name == "dummy") && SDL_getenv("SDL_VIDEODRIVER") == nullptr;
}

// Starts SDL video on a driver that shows something, or says why not. A
// display server that is still coming up (a game launched with the desktop
// session, a freshly started X server) may answer a moment later, so the
// attempt is repeated for about two seconds before the player is told.
bool initVisibleVideo(std::string& why) {
  constexpr int attempts = 8;
  for (int attempt = 1;; ++attempt) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      why = std::string("cannot open a window: ") + SDL_GetError() + "; a desktop session or DISPLAY is needed";
    } else if (showsNothing(SDL_GetCurrentVideoDriver())) {
      why = std::string("cannot open a window: no display server answered (DISPLAY is ") +
            orNone(SDL_getenv("DISPLAY")) + "); a desktop session or DISPLAY is needed";
    } else {
      return true;
    }
    SDL_Quit();
    if (attempt == attempts) return false;
    SDL_Delay(250);
  }
}

}  // namespace

bool installSdlBackends() {
  SdlBackends& b = backends();
  b.initError.clear();
  if (b.display != nullptr) return true;
#ifdef __GLIBC__
  // Blocks from 256 KiB up (decoded images, the rasteriser's textures) get
  // pages of their own, handed back to the system when freed. By default the
  // threshold climbs after the first large free, and a freed image then
  // leaves a resident hole in the heap that a texture a little larger cannot
  // reuse.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  // One heap for every thread: the rasteriser's, the mixer's and the music
  // stream's threads allocate little, and an arena each keeps megabytes of
  // their own resident.
  mallopt(M_ARENA_MAX, 1);
#endif
  if (!initVisibleVideo(b.initError)) return false;
  if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) XSetIOErrorHandler(onXConnectionLost);
  // The game plays without joysticks, so their absence is no error.
  SDL_InitSubSystem(SDL_INIT_JOYSTICK);
  b.display = std::make_unique<SdlDisplay>();
  b.openal = OpenAlAudio::open();
  installDisplayBackend(b.display.get());
  installAudioBackend(b.openal != nullptr ? static_cast<AudioBackend*>(b.openal.get()) : &b.silent);
  return true;
}

const std::string& sdlInitError() { return backends().initError; }

void shutdownSdlBackends() { backends().shutdown(); }

SdlDisplay* sdlDisplay() { return backends().display.get(); }

}  // namespace pf
