#include "platform/sdl/sdl_joysticks.hpp"

#include <algorithm>

#include "platform/input_state.hpp"

namespace pf {

void SdlJoysticks::openAll() {
  if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) return;
  SDL_JoystickEventState(SDL_ENABLE);
  const int n = SDL_NumJoysticks();
  for (int i = 0; i < n; ++i) open(i);
  publishCount();
}

void SdlJoysticks::closeAll() {
  // Each as if unplugged, so that no button stays held and no count stays
  // behind in the input state for whatever reads it next.
  const std::vector<SDL_Joystick*> open = ports_;
  for (SDL_Joystick* j : open) {
    if (j != nullptr) close(SDL_JoystickInstanceID(j));
  }
  ports_.clear();
  publishCount();
}

void SdlJoysticks::open(int deviceIndex) {
  // SDL also announces devices that were present at start; open each once.
  if (portOf(SDL_JoystickGetDeviceInstanceID(deviceIndex)) >= 0) return;
  SDL_Joystick* j = SDL_JoystickOpen(deviceIndex);
  if (j == nullptr) return;
  const auto freePort = std::find(ports_.begin(), ports_.end(), nullptr);
  if (freePort != ports_.end()) {
    *freePort = j;
  } else {
    ports_.push_back(j);
  }
}

void SdlJoysticks::close(SDL_JoystickID id) {
  const int port = portOf(id);
  if (port < 0) return;
  SDL_JoystickClose(ports_[static_cast<size_t>(port)]);
  ports_[static_cast<size_t>(port)] = nullptr;
  InputState& in = inputState();
  for (int b = 0; b < kJoyButtons; ++b) in.joyButton(port, b, false);
  for (int a = 0; a < kJoyAxes; ++a) in.joyAxis(port, a, 0.0f);
  while (!ports_.empty() && ports_.back() == nullptr) ports_.pop_back();
}

int SdlJoysticks::portOf(SDL_JoystickID id) const {
  for (size_t i = 0; i < ports_.size(); ++i) {
    if (ports_[i] != nullptr && SDL_JoystickInstanceID(ports_[i]) == id) return static_cast<int>(i);
  }
  return -1;
}

void SdlJoysticks::publishCount() const { inputState().setJoystickCount(static_cast<int>(ports_.size())); }

bool SdlJoysticks::handle(const SDL_Event& event) {
  InputState& in = inputState();
  switch (event.type) {
    case SDL_JOYDEVICEADDED:
      open(event.jdevice.which);
      publishCount();
      return true;
    case SDL_JOYDEVICEREMOVED:
      close(event.jdevice.which);
      publishCount();
      return true;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      in.joyButton(portOf(event.jbutton.which), event.jbutton.button, event.type == SDL_JOYBUTTONDOWN);
      return true;
    case SDL_JOYAXISMOTION:
      // SDL axes 0..5 are X, Y, Z, R, U, V; the input state ignores others.
      in.joyAxis(portOf(event.jaxis.which), event.jaxis.axis,
                 std::max(-1.0f, static_cast<float>(event.jaxis.value) / 32767.0f));
      return true;
    default: return false;
  }
}

}  // namespace pf
