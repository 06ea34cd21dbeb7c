#pragma once
// What a run read from the input, read by read and frame by frame. Recording,
// every key, button, axis and suspension read is answered live and kept;
// playing back, the same reads are answered from the tape and the live input
// is left alone (the viewer reads its own Escape from it).
#include <cstdint>
#include <string>
#include <vector>

namespace pf {

enum class InputQuery : uint8_t { keyDown = 1, keyHit, joyDown, joyHit, joyAxis, suspended };

struct InputRead {
  InputQuery query = InputQuery::keyDown;
  uint8_t code = 0;  // key code, button or axis; 0 for the suspension
  float value = 0;   // 0/1 for held, a count for hits, the axis value

  bool operator==(const InputRead&) const = default;
};

using InputFrame = std::vector<InputRead>;

// Consecutive frames that read the same: how many, and what they read. A run
// of a game is mostly such stretches, so a tape keeps them as runs.
struct InputRun {
  uint32_t repeat = 1;
  InputFrame frame;

  bool operator==(const InputRun&) const = default;
};
using InputRuns = std::vector<InputRun>;

// The number of frames the runs hold.
uint64_t frameCount(const InputRuns& runs);
// Adds a frame after the last: one more repeat when it reads as that one did.
void appendFrame(InputRuns& runs, const InputFrame& frame);

class InputTape {
 public:
  void record();
  void play(InputRuns runs);
  // Back to answering every read live, keeping nothing.
  void stop();
  bool recording() const { return mode_ == Mode::record; }
  bool playing() const { return mode_ == Mode::play; }

  // A read answered live: kept when recording.
  void note(InputQuery query, int code, float value);
  // A read answered from the tape. A read the tape does not hold at this
  // point (the run went another way) answers 0 and marks the tape diverged.
  float replay(InputQuery query, int code);
  // The end of a frame of the run.
  void endFrame();

  // Every frame ended so far (recording) or to be played (playing).
  const InputRuns& runs() const { return runs_; }
  // Frames ended so far.
  uint64_t frameCount() const { return frame_; }
  // The frames the tape plays back.
  uint64_t length() const { return length_; }
  bool exhausted() const { return playing() && frame_ >= length_; }
  bool diverged() const { return !divergence_.empty(); }
  // Where and how playback left the tape, for the message that reports it.
  const std::string& divergence() const { return divergence_; }

 private:
  enum class Mode { off, record, play };
  void diverge(const std::string& what);
  // The recorded frame being played; null past the end.
  const InputFrame* playedFrame() const { return run_ < runs_.size() ? &runs_[run_].frame : nullptr; }

  Mode mode_ = Mode::off;
  InputRuns runs_;
  InputFrame current_;  // the frame being recorded
  uint64_t length_ = 0;
  uint64_t frame_ = 0;
  size_t run_ = 0;      // playing: the run of the frame being played
  uint32_t inRun_ = 0;  // and how far into it
  size_t read_ = 0;
  std::string divergence_;
};

InputTape& inputTape();

// Hits of a key since its last query, read from the live input even while a
// tape plays back: how the viewer of a replay hears its own Escape.
int liveKeyHit(int code);

// A name for a read, as messages show it ("keyDown(38)").
std::string describeRead(InputQuery query, int code);

}  // namespace pf
