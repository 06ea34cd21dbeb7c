#pragma once
// Start-up and shut-down of the real backends: SDL (video, events,
// joysticks) with the OpenGL display, and OpenAL audio, or silent audio when
// no output device opens.
#include <string>

namespace pf {

// Installs the SDL display and the audio backend. False when SDL video cannot
// start; sdlInitError() then holds one line for the user.
bool installSdlBackends();
const std::string& sdlInitError();
// Uninstalls and closes everything installSdlBackends() started.
void shutdownSdlBackends();

class SdlDisplay;
// The installed SDL display, for measurements and test drivers; null before
// installSdlBackends() succeeds.
SdlDisplay* sdlDisplay();

}  // namespace pf
