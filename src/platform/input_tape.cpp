#include "platform/input_tape.hpp"

namespace pf {

uint64_t frameCount(const InputRuns& runs) {
  uint64_t frames = 0;
  for (const InputRun& run : runs) frames += run.repeat;
  return frames;
}

void appendFrame(InputRuns& runs, const InputFrame& frame) {
  if (!runs.empty() && runs.back().frame == frame && runs.back().repeat < UINT32_MAX) {
    ++runs.back().repeat;
  } else {
    runs.push_back(InputRun{1, frame});
  }
}

void InputTape::record() {
  *this = InputTape{};
  mode_ = Mode::record;
}

void InputTape::play(InputRuns runs) {
  *this = InputTape{};
  mode_ = Mode::play;
  runs_ = std::move(runs);
  length_ = pf::frameCount(runs_);
}

void InputTape::stop() { *this = InputTape{}; }

void InputTape::note(InputQuery query, int code, float value) {
  if (mode_ != Mode::record) return;
  current_.push_back(InputRead{query, static_cast<uint8_t>(code), value});
}

float InputTape::replay(InputQuery query, int code) {
  if (diverged()) return 0;
  const InputFrame* frame = playedFrame();
  if (frame == nullptr) {
    diverge("read " + describeRead(query, code) + " after the last recorded frame");
    return 0;
  }
  if (read_ >= frame->size()) {
    diverge("read " + describeRead(query, code) + " beyond the frame's " + std::to_string(frame->size()) + " reads");
    return 0;
  }
  const InputRead& expected = (*frame)[read_];
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
    appendFrame(runs_, current_);
    current_.clear();
  } else if (mode_ == Mode::play) {
    const InputFrame* frame = playedFrame();
    if (!diverged() && frame != nullptr && read_ != frame->size()) {
      diverge("made " + std::to_string(read_) + " of the frame's " + std::to_string(frame->size()) + " recorded reads");
    }
    if (frame != nullptr && ++inRun_ == runs_[run_].repeat) {
      ++run_;
      inRun_ = 0;
    }
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
