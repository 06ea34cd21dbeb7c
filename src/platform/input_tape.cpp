#include "platform/input_tape.hpp"

namespace pf {

void InputTape::record() {
  *this = InputTape{};
  mode_ = Mode::record;
  frames_.emplace_back();
}

void InputTape::play(std::vector<InputFrame> frames) {
  *this = InputTape{};
  mode_ = Mode::play;
  frames_ = std::move(frames);
}

void InputTape::stop() { *this = InputTape{}; }

void InputTape::note(InputQuery query, int code, float value) {
  if (mode_ != Mode::record) return;
  frames_.back().push_back(InputRead{query, static_cast<uint8_t>(code), value});
}

float InputTape::replay(InputQuery query, int code) {
  if (diverged()) return 0;
  if (frame_ >= frames_.size()) {
    diverge("read " + describeRead(query, code) + " after the last recorded frame");
    return 0;
  }
  const InputFrame& frame = frames_[frame_];
  if (read_ >= frame.size()) {
    diverge("read " + describeRead(query, code) + " beyond the frame's " + std::to_string(frame.size()) + " reads");
    return 0;
  }
  const InputRead& expected = frame[read_];
  if (expected.query != query || expected.code != static_cast<uint8_t>(code)) {
    diverge("read " + describeRead(query, code) + " where the recording read " +
            describeRead(expected.query, expected.code));
    return 0;
  }
  ++read_;
  return expected.value;
}

void InputTape::endFrame() {
  if (mode_ == Mode::record) {
    frames_.emplace_back();
  } else if (mode_ == Mode::play && !diverged() && frame_ < frames_.size() && read_ != frames_[frame_].size()) {
    diverge("made " + std::to_string(read_) + " of the frame's " + std::to_string(frames_[frame_].size()) +
            " recorded reads");
  }
  ++frame_;
  read_ = 0;
}

void InputTape::diverge(const std::string& what) {
  divergence_ = "frame " + std::to_string(frame_ + 1) + ": the run " + what;
}

InputTape& inputTape() {
  static InputTape tape;
  return tape;
}

std::string describeRead(InputQuery query, int code) {
  const char* names[] = {"?", "keyDown", "keyHit", "joyDown", "joyHit", "joyAxis", "suspended"};
  const auto index = static_cast<size_t>(query);
  const char* name = index < std::size(names) ? names[index] : "?";
  return std::string(name) + "(" + std::to_string(code) + ")";
}

}  // namespace pf
