#pragma once
// Keyboard, joystick and application state as the game sees it. Backends feed
// it from their events (SDL) or from a script (headless); the platform API
// reads it.
#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace pf {

constexpr int kJoyButtons = 32;
constexpr int kJoyAxes = 6;  // X, Y, Z, R, U, V

struct JoystickPort {
  std::array<bool, kJoyButtons> down{};
  std::array<int, kJoyButtons> hits{};
  std::array<float, kJoyAxes> axes{};
};

class InputState {
 public:
  // Keys are virtual-key codes 0..255. A key repeat is held down and counts
  // as a hit (menus scroll on it), but it is no fresh press: it never answers
  // takeAnyKeyHit, so a key held into a key prompt does not answer it.
  void keyPressed(int code, bool repeat = false);
  void keyReleased(int code);
  void charTyped(int code);
  bool keyDown(int code) const;
  int takeKeyHits(int code);
  // Any fresh key press since the last flush, consumed; 0 when none.
  int takeAnyKeyHit();
  int takeChar();
  void flushKeys();

  void setJoystickCount(int count);
  int joystickCount() const { return static_cast<int>(joysticks_.size()); }
  void joyButton(int port, int button, bool down);
  void joyAxis(int port, int axis, float value);
  bool joyDown(int port, int button) const;
  int takeJoyHits(int port, int button);
  float joyAxisValue(int port, int axis) const;

  void setSuspended(bool s) { suspended_ = s; }
  bool suspended() const { return suspended_; }
  void requestClose() { closeRequested_ = true; }
  bool takeCloseRequest();
  bool closeRequested() const { return closeRequested_; }

  // Back to the state of a fresh program (tests).
  void reset();

 private:
  static bool validKey(int code) { return code >= 0 && code < 256; }
  static bool validPort(int port, int count) { return port >= 0 && port < count; }

  std::array<bool, 256> down_{};
  std::array<int, 256> hits_{};
  std::deque<int> hitOrder_;  // codes in press order, for wait-for-any-key
  std::deque<int> chars_;
  std::vector<JoystickPort> joysticks_;
  bool suspended_ = false;
  bool closeRequested_ = false;
};

InputState& inputState();

}  // namespace pf
