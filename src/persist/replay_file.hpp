#pragma once
// A recorded run: the format version and build that recorded it, the ship,
// the seed, the settings that steer a run, every input read of every frame,
// and the result it came to. Files are little-endian binary ending in a
// checksum; frames that read the same as the one before are stored once with
// a repeat count, and a frame that asks what the one before asked stores only
// the values that changed.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/input_tape.hpp"

constexpr uint16_t kReplayFormatVersion = 1;

// The settings a run reads: which keys, buttons and axes it asks about, the
// stick's dead zone, and the field's size (the ship's bounds).
struct ReplaySettings {
  int screenwidth = 0, screenheight = 0;
  int upkey = 0, downkey = 0, leftkey = 0, rightkey = 0;
  int fire1key = 0, fire2key = 0, fire3key = 0;
  int usejoy = 0, joystickport = 0;
  int jBombButton = 0, jfireLeftButton = 0, jFireRightButton = 0;
  float jThreshhold = 0;
  std::string jMoveXAxis, jMoveYAxis;

  bool operator==(const ReplaySettings&) const = default;
};

// How a run ended: the crab beaten, "Level Failed" (time up), quit from the
// pause, or all lives lost.
enum class RunEnd : uint8_t { unfinished = 0, completed, failed, quit, gameover };

struct ReplayResult {
  int64_t score = 0;
  int32_t killcount = 0;
  RunEnd end = RunEnd::unfinished;
  uint32_t frames = 0;

  bool operator==(const ReplayResult&) const = default;
};

struct Replay {
  uint16_t version = kReplayFormatVersion;
  std::string buildId;
  int ship = 0;
  uint64_t seed = 0;
  ReplaySettings settings;
  ReplayResult result;
  std::vector<pf::InputFrame> frames;
};

std::vector<uint8_t> encodeReplay(const Replay& replay);

struct ReplayRead {
  bool ok = false;
  std::string error;  // what is wrong with the bytes, for one line of output
  Replay replay;
};
// Never trusts the bytes: a short, damaged or foreign file gives an error.
// A file of another format version reads only as far as its version.
ReplayRead decodeReplay(const std::vector<uint8_t>& bytes);

ReplayRead readReplayFile(const std::string& path);
// Writes a temporary file beside `path` and renames it over `path`, so a
// reader never sees half a file. False with a message when it fails.
bool writeReplayFile(const std::string& path, const Replay& replay, std::string* error);

const char* runEndName(RunEnd end);
