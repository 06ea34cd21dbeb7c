// The replay file format and the replays folder: what is written reads back
// whole, and nothing but a sound file of this version reads at all.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "persist/replay_file.hpp"
#include "persist/replay_store.hpp"
#include "temp_dir.hpp"

namespace {

using pf::InputQuery;

Replay sampleReplay(int ship = 3, int64_t score = 123456) {
  Replay r;
  r.gameplayVersion = 7;
  r.environment = "gcc 12, x86_64 sse2, strict floats";
  r.recordedAt = 1765000000;
  r.ship = ship;
  r.seed = 0xFEDCBA9876543210ull;
  r.settings.upkey = 38;
  r.settings.fire1key = 90;
  r.settings.usejoy = 1;
  r.settings.jThreshhold = 0.4f;
  r.settings.jMoveXAxis = "joyx";
  r.settings.jMoveYAxis = "joyv";
  const pf::InputFrame idle = {
      {InputQuery::keyHit, 27, 0}, {InputQuery::suspended, 0, 0}, {InputQuery::keyDown, 38, 0}};
  const pf::InputFrame busy = {
      {InputQuery::keyHit, 27, 2}, {InputQuery::joyAxis, 1, -0.73f}, {InputQuery::joyDown, 5, 1}};
  pf::InputFrame moving = idle;  // the same reads, one value changed
  moving[2].value = 1;
  for (int i = 0; i < 40; ++i) pf::appendFrame(r.input, i % 10 == 3 ? busy : i % 7 == 5 ? moving : idle);
  pf::appendFrame(r.input, {});
  r.result = ReplayResult{score, 77, RunEnd::failed, static_cast<uint32_t>(pf::frameCount(r.input))};
  return r;
}

// The same bytes with the checksum made right again, as a forger would.
std::vector<uint8_t> resealed(std::vector<uint8_t> bytes) {
  const uint32_t sum = replayChecksum(bytes.data(), bytes.size() - 4);
  for (size_t i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = static_cast<uint8_t>(sum >> (8 * i));
  return bytes;
}

}  // namespace

TEST(ReplayFile, RoundTripKeepsEveryFieldAndFrame) {
  const Replay r = sampleReplay();
  const ReplayRead back = decodeReplay(encodeReplay(r));
  ASSERT_TRUE(back.ok) << back.error;
  EXPECT_EQ(back.replay.gameplayVersion, 7u);
  EXPECT_EQ(back.replay.environment, r.environment);
  EXPECT_EQ(back.replay.recordedAt, r.recordedAt);
  EXPECT_EQ(back.replay.ship, 3);
  EXPECT_EQ(back.replay.seed, r.seed);
  EXPECT_EQ(back.replay.settings, r.settings);
  EXPECT_EQ(back.replay.result, r.result);
  EXPECT_EQ(back.replay.input, r.input);
  const ReplayRead header = decodeReplay(encodeReplay(r), ReplayPart::header);
  ASSERT_TRUE(header.ok) << header.error;
  EXPECT_EQ(header.replay.result, r.result);
  EXPECT_TRUE(header.replay.input.empty());
}

// A short file with a right checksum that claims a huge run: 10 million
// frames of 100 reads. It is refused with a reason before anything is made
// of its claims; so is every count and text beyond what a run can be.
TEST(ReplayFile, ClaimsBeyondWhatARunCanBeAreRefused) {
  Replay huge = sampleReplay();
  pf::InputFrame wide(100, pf::InputRead{InputQuery::keyDown, 38, 1});
  huge.input = {pf::InputRun{10'000'000, wide}};
  huge.result.frames = 10'000'000;
  std::vector<uint8_t> bytes = encodeReplay(huge);
  EXPECT_LT(bytes.size(), 500u);
  ReplayRead read = decodeReplay(bytes);
  EXPECT_FALSE(read.ok);
  EXPECT_NE(read.error.find("more than a run can have"), std::string::npos) << read.error;

  huge.result.frames = 100;  // an honest header cannot carry the frames past the bounds either
  huge.input = {pf::InputRun{100, wide}};
  read = decodeReplay(encodeReplay(huge));
  EXPECT_NE(read.error.find("more than a frame can"), std::string::npos) << read.error;

  Replay longText = sampleReplay();
  longText.environment.assign(kMaxEnvironmentLength + 1, 'x');
  EXPECT_NE(decodeReplay(encodeReplay(longText)).error.find("text field is too long"), std::string::npos);
  longText = sampleReplay();
  longText.settings.jMoveYAxis.assign(kMaxAxisNameLength + 1, 'y');
  EXPECT_FALSE(decodeReplay(encodeReplay(longText)).ok);

  // The run count of the sample (its first byte after the header: where an
  // empty replay has its count, before its checksum) raised to more runs
  // than the bytes that follow could hold.
  const Replay sample = sampleReplay();
  const size_t runCount = encodeReplay(Replay{static_cast<const ReplayHeader&>(sample), {}}).size() - 5;
  bytes = encodeReplay(sample);
  ASSERT_EQ(bytes[runCount], sample.input.size());
  bytes[runCount] = 0x7F;
  read = decodeReplay(resealed(bytes));
  EXPECT_NE(read.error.find("runs of frames in"), std::string::npos) << read.error;
}

TEST(ReplayFile, EveryTruncationIsAnErrorEvenWithTheChecksumMadeRight) {
  const std::vector<uint8_t> bytes = encodeReplay(sampleReplay());
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
    ReplayRead read = decodeReplay(cut);
    ASSERT_FALSE(read.ok) << "cut to " << n << " bytes";
    EXPECT_FALSE(read.error.empty());
    if (n < 10 || n == bytes.size() - 4) continue;  // too short to seal; the whole file
    cut.insert(cut.end(), 4, 0);
    read = decodeReplay(resealed(cut));
    ASSERT_FALSE(read.ok) << "cut to " << n << " bytes and sealed";
    EXPECT_FALSE(read.error.empty());
  }
}

TEST(ReplayFile, AnotherVersionIsRefusedByName) {
  std::vector<uint8_t> bytes = encodeReplay(sampleReplay());
  bytes[4] = static_cast<uint8_t>(kReplayFormatVersion + 1);  // the version follows the 4-byte magic
  const ReplayRead read = decodeReplay(bytes);
  EXPECT_FALSE(read.ok);
  EXPECT_NE(read.error.find("version " + std::to_string(kReplayFormatVersion + 1)), std::string::npos) << read.error;
}

TEST(ReplayFile, RandomAndFlippedBytesAreErrorsNotCrashes) {
  std::mt19937 random(15);
  const std::vector<uint8_t> good = encodeReplay(sampleReplay());
  for (int trial = 0; trial < 2000; ++trial) {
    std::vector<uint8_t> bytes(random() % 300);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    if (trial % 2 == 0 && bytes.size() >= 6) std::memcpy(bytes.data(), good.data(), 6);  // past the magic and version
    EXPECT_FALSE(decodeReplay(bytes).ok);
  }
  for (size_t i = 0; i < good.size(); ++i) {
    std::vector<uint8_t> bytes = good;
    bytes[i] ^= 0x20;
    EXPECT_FALSE(decodeReplay(bytes).ok) << "byte " << i;
  }
}

TEST(ReplayFile, WrittenWholeWithNoTemporaryLeft) {
  TempDir dir;
  std::string error;
  ASSERT_TRUE(writeReplayFile(dir.file("a.ovr"), sampleReplay(), &error)) << error;
  EXPECT_TRUE(readReplayFile(dir.file("a.ovr")).ok);
  EXPECT_FALSE(std::filesystem::exists(dir.file("a.ovr.tmp")));
  EXPECT_FALSE(writeReplayFile(dir.file("missing/a.ovr"), sampleReplay(), &error));
  EXPECT_FALSE(readReplayFile(dir.file("none.ovr")).ok);
}

TEST(ReplayStore, KeepsTheBestOfEachShipAndTheFiftyMostRecent) {
  TempDir dir;
  const std::string folder = dir.file("replays");
  std::string path, error;
  // Ship 1's best comes first, then 60 weaker runs of ship 2 and one of ship 1.
  ASSERT_TRUE(storeReplay(folder, sampleReplay(1, 9000), &path, &error)) << error;
  const std::string best1 = path;
  ASSERT_TRUE(storeReplay(folder, sampleReplay(2, 500), &path, &error));
  const std::string best2 = path;
  for (int i = 0; i < 59; ++i) ASSERT_TRUE(storeReplay(folder, sampleReplay(i == 30 ? 1 : 2, 100 + i), &path, &error));
  const std::string newest = path;

  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 52);  // the 50 most recent and the two bests, which are older
  EXPECT_TRUE(std::filesystem::exists(best1));
  EXPECT_TRUE(std::filesystem::exists(best2));
  EXPECT_TRUE(std::filesystem::exists(newest));
  EXPECT_TRUE(std::filesystem::exists(folder + "/000061-ship2.ovr"));
  EXPECT_FALSE(std::filesystem::exists(folder + "/000003-ship2.ovr"));
}
