#pragma once
// Open joysticks and their ports. A device keeps its port while it stays
// plugged in; an unplugged one frees its port (released buttons, centred
// axes) for the next device that arrives.
#include <SDL.h>

#include <vector>

namespace pf {

class SdlJoysticks {
 public:
  SdlJoysticks() = default;
  SdlJoysticks(const SdlJoysticks&) = delete;
  SdlJoysticks& operator=(const SdlJoysticks&) = delete;
  ~SdlJoysticks() { closeAll(); }

  // Opens every device present now.
  void openAll();
  void closeAll();
  // Feeds joystick events into the input state; false for other events.
  bool handle(const SDL_Event& event);

 private:
  void open(int deviceIndex);
  void close(SDL_JoystickID id);
  int portOf(SDL_JoystickID id) const;
  void publishCount() const;

  std::vector<SDL_Joystick*> ports_;  // null where a device was unplugged
};

}  // namespace pf
