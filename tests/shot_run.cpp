#include "shot_run.hpp"

#include <cstdio>

#include "app/asset_loader.hpp"
#include "driver_window.hpp"
#include "essentials/settings.hpp"
#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "png_file.hpp"

bool drawnBeforeShot(const std::vector<Capture>& captures, int frame, int span) {
  if (span <= 0) return true;
  for (const Capture& c : captures) {
    if (frame <= c.frame && frame > c.frame - span) return true;
  }
  return false;
}

void holdKey(int code, bool down) {
  pf::InputState& input = pf::inputState();
  if (down && !input.keyDown(code)) input.keyPressed(code);
  if (!down && input.keyDown(code)) input.keyReleased(code);
}

bool openShotWindow() {
  settings = Settings{};
  settings.music = 0;  // silent: the run needs no audio device
  settings.sound = 0;
  program = ProgramState{};
  if (!openDriverWindow()) return false;
  requireGameAssets();
  pf::setBlend(pf::kBlendAlpha);
  return true;
}

bool saveShot(pf::Image& shot, const std::string& dir, const std::string& file) {
  pf::grabImage(shot, 0, 0);
  const std::string path = dir + "/" + file;
  if (writePng(path, shot)) return true;
  std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return false;
}

void closeShotWindow(pf::DisplayBackend* display) {
  pf::installDisplayBackend(display);
  pf::closeDisplay();
  pf::shutdownSdlBackends();
}
