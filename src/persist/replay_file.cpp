#include "persist/replay_file.hpp"

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr char kMagic[4] = {'O', 'V', 'R', 'P'};
constexpr size_t kChecksumBytes = 4;

class Writer {
 public:
  void bytes(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    out.insert(out.end(), p, p + n);
  }
  void u8(uint8_t v) { out.push_back(v); }
  void fixed(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void varint(uint64_t v) {
    while (v >= 0x80) {
      out.push_back(static_cast<uint8_t>(v | 0x80));
      v >>= 7;
    }
    out.push_back(static_cast<uint8_t>(v));
  }
  void f32(float v) { fixed(std::bit_cast<uint32_t>(v), 4); }
  void text(const std::string& s) {
    varint(s.size());
    bytes(s.data(), s.size());
  }
  std::vector<uint8_t> out;
};

// Reads stop at the first fault; `failed` then says what it was.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  bool failed() const { return !error.empty(); }
  uint64_t fixed(int n) {
    if (!need(static_cast<size_t>(n))) return 0;
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<uint64_t>(*p_++) << (8 * i);
    return v;
  }
  uint8_t u8() { return static_cast<uint8_t>(fixed(1)); }
  uint64_t varint() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (!need(1)) return 0;
      const uint8_t b = *p_++;
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if ((b & 0x80) == 0) return v;
    }
    fail("a number runs on too long");
    return 0;
  }
  float f32() { return std::bit_cast<float>(static_cast<uint32_t>(fixed(4))); }
  std::string text(size_t limit) {
    const uint64_t n = varint();
    if (n > limit) {
      fail("a text field is too long");
      return {};
    }
    if (!need(static_cast<size_t>(n))) return {};
    std::string s(reinterpret_cast<const char*>(p_), static_cast<size_t>(n));
    p_ += n;
    return s;
  }
  bool atEnd() const { return p_ == end_; }
  size_t left() const { return static_cast<size_t>(end_ - p_); }
  void fail(const std::string& what) {
    if (error.empty()) error = what;
  }
  std::string error;

 private:
  bool need(size_t n) {
    if (failed()) return false;
    if (static_cast<size_t>(end_ - p_) < n) {
      fail("the file ends early (truncated)");
      return false;
    }
    return true;
  }
  const uint8_t* p_;
  const uint8_t* end_;
};

void writeValue(Writer& w, const pf::InputRead& read) {
  if (read.query == pf::InputQuery::joyAxis) {
    w.f32(read.value);
  } else {
    w.varint(static_cast<uint64_t>(read.value));
  }
}

void writeRead(Writer& w, const pf::InputRead& read) {
  w.u8(static_cast<uint8_t>(read.query));
  w.u8(read.code);
  writeValue(w, read);
}

float readValue(Reader& r, pf::InputQuery query) {
  return query == pf::InputQuery::joyAxis ? r.f32() : static_cast<float>(r.varint());
}

bool sameShape(const pf::InputFrame& a, const pf::InputFrame& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].query != b[i].query || a[i].code != b[i].code) return false;
  }
  return true;
}

pf::InputRead readRead(Reader& r) {
  pf::InputRead read;
  const uint8_t query = r.u8();
  if (query < static_cast<uint8_t>(pf::InputQuery::keyDown) ||
      query > static_cast<uint8_t>(pf::InputQuery::suspended)) {
    r.fail("an input read of unknown kind " + std::to_string(query));
    return read;
  }
  read.query = static_cast<pf::InputQuery>(query);
  read.code = r.u8();
  read.value = readValue(r, read.query);
  return read;
}

}  // namespace

// FNV-1a.
uint32_t replayChecksum(const uint8_t* data, size_t size) {
  uint32_t h = 2166136261u;
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  return h;
}

std::vector<uint8_t> encodeReplay(const Replay& replay) {
  Writer w;
  w.bytes(kMagic, sizeof kMagic);
  w.fixed(replay.format, 2);
  w.varint(replay.gameplayVersion);
  w.text(replay.environment);
  w.u8(static_cast<uint8_t>(replay.ship));
  w.fixed(replay.seed, 8);
  w.fixed(static_cast<uint64_t>(replay.recordedAt), 8);
  const ReplaySettings& s = replay.settings;
  for (int key : {s.screenwidth, s.screenheight, s.upkey, s.downkey, s.leftkey, s.rightkey, s.fire1key, s.fire2key,
                  s.fire3key, s.usejoy, s.joystickport, s.jBombButton, s.jfireLeftButton, s.jFireRightButton}) {
    w.fixed(static_cast<uint32_t>(key), 4);
  }
  w.f32(s.jThreshhold);
  w.text(s.jMoveXAxis);
  w.text(s.jMoveYAxis);
  w.fixed(static_cast<uint64_t>(replay.result.score), 8);
  w.fixed(static_cast<uint32_t>(replay.result.killcount), 4);
  w.u8(static_cast<uint8_t>(replay.result.end));
  w.fixed(replay.result.frames, 4);

  // The runs of equal frames: how many, then the reads of one of them. A
  // frame that asks what the previous run's asked (nearly every frame) is
  // stored as the changes only: its read count times two plus one, a bit
  // per read that changed, and the new values.
  w.varint(replay.input.size());
  const pf::InputFrame* previous = nullptr;
  for (const pf::InputRun& run : replay.input) {
    const pf::InputFrame& frame = run.frame;
    w.varint(run.repeat);
    if (previous != nullptr && sameShape(*previous, frame)) {
      w.varint(frame.size() * 2 + 1);
      std::vector<uint8_t> changed((frame.size() + 7) / 8);
      for (size_t i = 0; i < frame.size(); ++i) {
        if (frame[i].value != (*previous)[i].value) changed[i / 8] |= static_cast<uint8_t>(1u << (i % 8));
      }
      w.bytes(changed.data(), changed.size());
      for (size_t i = 0; i < frame.size(); ++i) {
        if ((changed[i / 8] >> (i % 8)) & 1) writeValue(w, frame[i]);
      }
    } else {
      w.varint(frame.size() * 2);
      for (const pf::InputRead& read : frame) writeRead(w, read);
    }
    previous = &frame;
  }
  w.fixed(replayChecksum(w.out.data(), w.out.size()), kChecksumBytes);
  return std::move(w.out);
}

namespace {

void readHeader(Reader& r, ReplayHeader& h) {
  const uint64_t gameplay = r.varint();
  if (gameplay > UINT32_MAX) r.fail("the gameplay version is out of range");
  h.gameplayVersion = static_cast<uint32_t>(gameplay);
  h.environment = r.text(kMaxEnvironmentLength);
  h.ship = r.u8();
  h.seed = r.fixed(8);
  h.recordedAt = static_cast<int64_t>(r.fixed(8));
  ReplaySettings& s = h.settings;
  for (int* key :
       {&s.screenwidth, &s.screenheight, &s.upkey, &s.downkey, &s.leftkey, &s.rightkey, &s.fire1key, &s.fire2key,
        &s.fire3key, &s.usejoy, &s.joystickport, &s.jBombButton, &s.jfireLeftButton, &s.jFireRightButton}) {
    *key = static_cast<int32_t>(r.fixed(4));
  }
  s.jThreshhold = r.f32();
  s.jMoveXAxis = r.text(kMaxAxisNameLength);
  s.jMoveYAxis = r.text(kMaxAxisNameLength);
  h.result.score = static_cast<int64_t>(r.fixed(8));
  h.result.killcount = static_cast<int32_t>(r.fixed(4));
  const uint8_t end = r.u8();
  if (end > static_cast<uint8_t>(RunEnd::gameover)) r.fail("unknown end kind " + std::to_string(end));
  h.result.end = static_cast<RunEnd>(end);
  h.result.frames = static_cast<uint32_t>(r.fixed(4));
  if (!r.failed() && h.result.frames > kMaxReplayFrames) {
    r.fail("it declares " + std::to_string(h.result.frames) + " frames, more than a run can have (" +
           std::to_string(kMaxReplayFrames) + ")");
  }
}

// The frames, each count checked against what a run can be and against the
// bytes left before anything is allocated for it.
void readInput(Reader& r, pf::InputRuns& input) {
  const uint64_t runs = r.varint();
  // A run takes at least two bytes: its repeat and its read count.
  if (!r.failed() && runs > r.left() / 2)
    r.fail("it declares " + std::to_string(runs) + " runs of frames in " + std::to_string(r.left()) + " bytes");
  uint64_t frames = 0;
  uint64_t reads = 0;
  for (uint64_t i = 0; i < runs && !r.failed(); ++i) {
    const uint64_t repeat = r.varint();
    const uint64_t shape = r.varint();
    const uint64_t count = shape / 2;
    const bool changesOnly = (shape & 1) != 0;
    if (r.failed()) break;
    if (repeat == 0) r.fail("a frame repeats 0 times");
    if (repeat > kMaxReplayFrames - frames) {
      r.fail("it holds more frames than a run can have (" + std::to_string(kMaxReplayFrames) + ")");
    }
    if (count > kMaxReadsPerFrame) {
      r.fail("a frame makes " + std::to_string(count) + " input reads, more than a frame can (" +
             std::to_string(kMaxReadsPerFrame) + ")");
    }
    if (count > kMaxReplayReads - reads) r.fail("it holds more input reads than a run can make");
    // The bytes a frame takes: a changes bitmap, or three per read at least.
    const uint64_t least = changesOnly ? (count + 7) / 8 : count * 3;
    if (!r.failed() && least > r.left()) r.fail("the file ends early (truncated)");
    if (r.failed()) break;
    frames += repeat;
    reads += count;
    pf::InputRun run{static_cast<uint32_t>(repeat), {}};
    if (changesOnly) {
      if (input.empty() || input.back().frame.size() != count) {
        r.fail("a frame of changes has no frame to change");
        break;
      }
      run.frame = input.back().frame;
      std::vector<uint8_t> changed(static_cast<size_t>((count + 7) / 8));
      for (uint8_t& byte : changed) byte = r.u8();
      for (size_t k = 0; k < run.frame.size() && !r.failed(); ++k) {
        if ((changed[k / 8] >> (k % 8)) & 1) run.frame[k].value = readValue(r, run.frame[k].query);
      }
    } else {
      run.frame.reserve(static_cast<size_t>(count));
      for (uint64_t k = 0; k < count && !r.failed(); ++k) run.frame.push_back(readRead(r));
    }
    input.push_back(std::move(run));
  }
}

}  // namespace

ReplayRead decodeReplay(const std::vector<uint8_t>& bytes, ReplayPart part) {
  ReplayRead result;
  if (bytes.size() < sizeof kMagic || !std::equal(kMagic, kMagic + sizeof kMagic, bytes.begin())) {
    result.error = "not a replay file";
    return result;
  }
  if (bytes.size() > kMaxReplayBytes) {
    result.error = "the file is " + std::to_string(bytes.size()) + " bytes, larger than a replay can be";
    return result;
  }
  Reader r(bytes.data() + sizeof kMagic, bytes.size() - sizeof kMagic);
  Replay& replay = result.replay;
  replay.format = static_cast<uint16_t>(r.fixed(2));
  if (!r.failed() && replay.format != kReplayFormatVersion) {
    result.error = "replay format version " + std::to_string(replay.format) + ", this game reads version " +
                   std::to_string(kReplayFormatVersion);
    return result;
  }
  if (bytes.size() < sizeof kMagic + 2 + kChecksumBytes ||
      replayChecksum(bytes.data(), bytes.size() - kChecksumBytes) !=
          static_cast<uint32_t>(Reader(bytes.data() + bytes.size() - kChecksumBytes, kChecksumBytes).fixed(4))) {
    result.error = "the file is damaged or truncated (checksum mismatch)";
    return result;
  }
  // The checksum is checked: the body is what lies before it.
  Reader body(bytes.data() + sizeof kMagic + 2, bytes.size() - sizeof kMagic - 2 - kChecksumBytes);
  readHeader(body, replay);
  if (part == ReplayPart::whole) {
    readInput(body, replay.input);
    if (!body.failed() && !body.atEnd()) body.fail("unexpected bytes after the end");
    if (!body.failed() && pf::frameCount(replay.input) != replay.result.frames) {
      body.fail("the frame count does not match the frames");
    }
  }
  if (body.failed()) {
    result.error = "the file is damaged: " + body.error;
    return result;
  }
  result.ok = true;
  return result;
}

ReplayRead readReplayFile(const std::string& path, ReplayPart part) {
  ReplayRead result;
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  std::ifstream in(path, std::ios::binary);
  if (ec || !in) {
    result.error = "cannot read " + path;
    return result;
  }
  if (size > kMaxReplayBytes) {
    result.error = path + ": the file is " + std::to_string(size) + " bytes, larger than a replay can be";
    return result;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  result = decodeReplay(bytes, part);
  if (!result.ok) result.error = path + ": " + result.error;
  return result;
}

bool writeReplayFile(const std::string& path, const Replay& replay, std::string* error) {
  const std::vector<uint8_t> bytes = encodeReplay(replay);
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      *error = "cannot write " + temporary;
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    *error = "cannot rename " + temporary + " to " + path;
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

const char* runEndName(RunEnd end) {
  switch (end) {
    case RunEnd::completed: return "completed";
    case RunEnd::failed: return "failed";
    case RunEnd::quit: return "quit";
    case RunEnd::gameover: return "gameover";
    default: return "unfinished";
  }
}
