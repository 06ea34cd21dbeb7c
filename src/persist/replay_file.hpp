#pragma once
// A recorded run: the file format and gameplay version, the numeric
// environment that recorded it, the ship, the seed, when it was recorded,
// the settings that steer a run, every input read of every frame, and the
// result it came to. Files are little-endian binary ending in a checksum;
// frames that read the same as the one before are stored once with a repeat
// count, and a frame that asks what the one before asked stores only the
// values that changed.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/input_tape.hpp"

constexpr uint16_t kReplayFormatVersion = 2;

// Replay files come from anywhere. No run comes near these bounds, and with
// them no file can make the reader allocate more than a few times its own
// size or a few megabytes, whatever it declares.
constexpr uint64_t kMaxReplayBytes = 4u << 20;
constexpr uint64_t kMaxReplayFrames = 60ull * 60 * 60 * 3;  // three hours, pauses included
constexpr uint64_t kMaxReadsPerFrame = 64;
constexpr uint64_t kMaxReplayReads = 1u << 20;  // reads kept in memory, summed over the stored frames
constexpr size_t kMaxEnvironmentLength = 160;
constexpr size_t kMaxAxisNameLength = 16;

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

// Everything but the frames: all that listing or choosing replays needs.
struct ReplayHeader {
  uint16_t format = kReplayFormatVersion;
  uint32_t gameplayVersion = 0;
  std::string environment;
  int ship = 0;
  uint64_t seed = 0;
  int64_t recordedAt = 0;  // seconds since 1970, 0 when unknown
  ReplaySettings settings;
  ReplayResult result;
};

struct Replay : ReplayHeader {
  pf::InputRuns input;
};

std::vector<uint8_t> encodeReplay(const Replay& replay);
// The checksum a file ends in, of the bytes before it.
uint32_t replayChecksum(const uint8_t* data, size_t size);

enum class ReplayPart { header, whole };

struct ReplayRead {
  bool ok = false;
  std::string error;  // what is wrong with the bytes, for one line of output
  Replay replay;      // with ReplayPart::header, the frames stay empty
};
// Never trusts the bytes: a short, damaged, oversized or foreign file gives
// an error. A file of another format version reads only as far as its
// version.
ReplayRead decodeReplay(const std::vector<uint8_t>& bytes, ReplayPart part = ReplayPart::whole);

ReplayRead readReplayFile(const std::string& path, ReplayPart part = ReplayPart::whole);
// Writes a temporary file beside `path` and renames it over `path`, so a
// reader never sees half a file. False with a message when it fails.
bool writeReplayFile(const std::string& path, const Replay& replay, std::string* error);

const char* runEndName(RunEnd end);
