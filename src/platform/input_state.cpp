#include "platform/input_state.hpp"

#include <algorithm>

namespace pf {

void InputState::keyPressed(int code, bool repeat) {
  if (!validKey(code)) return;
  down_[static_cast<size_t>(code)] = true;
  ++hits_[static_cast<size_t>(code)];
  if (repeat) return;
  hitOrder_.push_back(code);
  if (hitOrder_.size() > 256) hitOrder_.pop_front();
}

void InputState::keyReleased(int code) {
  if (validKey(code)) down_[static_cast<size_t>(code)] = false;
}

void InputState::charTyped(int code) {
  if (code <= 0) return;
  chars_.push_back(code);
  if (chars_.size() > 256) chars_.pop_front();
}

bool InputState::keyDown(int code) const { return validKey(code) && down_[static_cast<size_t>(code)]; }

int InputState::takeKeyHits(int code) {
  if (!validKey(code)) return 0;
  const int n = hits_[static_cast<size_t>(code)];
  hits_[static_cast<size_t>(code)] = 0;
  return n;
}

int InputState::takeAnyKeyHit() {
  if (hitOrder_.empty()) return 0;
  const int code = hitOrder_.front();
  hitOrder_.pop_front();
  return code;
}

int InputState::takeChar() {
  if (chars_.empty()) return 0;
  const int c = chars_.front();
  chars_.pop_front();
  return c;
}

void InputState::flushKeys() {
  down_.fill(false);
  hits_.fill(0);
  hitOrder_.clear();
  chars_.clear();
}

void InputState::setJoystickCount(int count) { joysticks_.resize(static_cast<size_t>(std::max(0, count))); }

void InputState::joyButton(int port, int button, bool down) {
  if (!validPort(port, joystickCount()) || button < 0 || button >= kJoyButtons) return;
  JoystickPort& j = joysticks_[static_cast<size_t>(port)];
  if (down && !j.down[static_cast<size_t>(button)]) ++j.hits[static_cast<size_t>(button)];
  j.down[static_cast<size_t>(button)] = down;
}

void InputState::joyAxis(int port, int axis, float value) {
  if (!validPort(port, joystickCount()) || axis < 0 || axis >= kJoyAxes) return;
  joysticks_[static_cast<size_t>(port)].axes[static_cast<size_t>(axis)] = std::clamp(value, -1.0f, 1.0f);
}

bool InputState::joyDown(int port, int button) const {
  if (!validPort(port, joystickCount()) || button < 0 || button >= kJoyButtons) return false;
  return joysticks_[static_cast<size_t>(port)].down[static_cast<size_t>(button)];
}

int InputState::takeJoyHits(int port, int button) {
  if (!validPort(port, joystickCount()) || button < 0 || button >= kJoyButtons) return 0;
  int& h = joysticks_[static_cast<size_t>(port)].hits[static_cast<size_t>(button)];
  const int n = h;
  h = 0;
  return n;
}

float InputState::joyAxisValue(int port, int axis) const {
  if (!validPort(port, joystickCount()) || axis < 0 || axis >= kJoyAxes) return 0.0f;
  return joysticks_[static_cast<size_t>(port)].axes[static_cast<size_t>(axis)];
}

bool InputState::takeCloseRequest() {
  const bool r = closeRequested_;
  closeRequested_ = false;
  return r;
}

void InputState::reset() { *this = InputState{}; }

InputState& inputState() {
  static InputState state;
  return state;
}

}  // namespace pf
