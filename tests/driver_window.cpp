#include "driver_window.hpp"

#include <cstdio>

#include "app/asset_store.hpp"
#include "essentials/settings.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/sdl_backends.hpp"

bool openDriverWindow() {
  settings.screendepth = 0;  // a window
  if (!pf::installSdlBackends()) {
    std::fprintf(stderr, "%s\n", pf::sdlInitError().c_str());
    return false;
  }
  if (!pf::openDisplay(settings.screenwidth, settings.screenheight, settings.screendepth)) {
    std::fprintf(stderr, "%s\n", pf::lastDisplayError().c_str());
    return false;
  }
  pf::enableLineSmoothing();
  registerAssetStore();
  return true;
}
