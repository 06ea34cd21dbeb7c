// What OpenAL Soft actually sends to the output, recorded to WAV files and
// measured with sox: a played tone must come out, at its channel's volume and
// rate, whether those were set before the play or while it runs.
//
// OpenAL Soft reads its configuration and picks its output driver once per
// process, at the first device opened, and other tests in this binary open its
// null output. So the recordings are made by a fresh run of this same test in a
// child process whose configuration sends the output to a WAV file (the "wave"
// driver); this process only measures the files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/backend.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/openal_audio.hpp"
#include "test_support.hpp"

namespace {

namespace fs = std::filesystem;

// Set in the child only: the folder its recordings go to.
constexpr const char* kRecordDirVar = "OVELUNE_OPENAL_RECORD_DIR";
// Where the wave driver writes; each take is renamed once its device closes.
constexpr const char* kDeviceFile = "output.wav";
constexpr const char* kUnavailableFile = "unavailable";

constexpr double kToneHz = 441.0;
constexpr int kToneMs = 500;
constexpr double kToneAmplitude = 0.5;  // of full scale

// One recording: the tone played once on a channel tuned either before the
// play starts or just after it has started.
struct Take {
  const char* name;
  float volume;
  float rate;
  bool whilePlaying;
};

constexpr Take kReference{"reference", 1.0f, 1.0f, false};
constexpr Take kHalfVolume{"half-volume", 0.5f, 1.0f, false};
constexpr Take kDoubleRate{"double-rate", 1.0f, 2.0f, false};
constexpr Take kRetuned{"retuned", 0.25f, 1.5f, true};
constexpr Take kTakes[] = {kReference, kHalfVolume, kDoubleRate, kRetuned};

pf::SoundPtr sineTone() {
  auto s = std::make_unique<pf::Sound>();
  s->sampleRate = 44100;
  s->samples.resize(static_cast<size_t>(s->sampleRate * kToneMs / 1000));
  for (size_t i = 0; i < s->samples.size(); ++i) {
    const double phase = 2.0 * M_PI * kToneHz * static_cast<double>(i) / s->sampleRate;
    s->samples[i] = static_cast<int16_t>(std::lround(kToneAmplitude * 32767.0 * std::sin(phase)));
  }
  return s;
}

// ---------------------------------------------------------------- child side

void writeFile(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

std::string readFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Plays one take through the platform API on a device of its own, so that
// closing the device finishes the WAV file. False when no device opens.
bool recordTake(const fs::path& dir, const Take& take) {
  std::unique_ptr<pf::OpenAlAudio> audio = pf::OpenAlAudio::open();
  if (audio == nullptr) return false;
  pf::AudioBackend* previous = pf::audioBackend();
  pf::installAudioBackend(audio.get());
  {
    const pf::SoundPtr tone = sineTone();
    const pf::Channel channel = pf::allocChannel();
    if (!take.whilePlaying) {
      pf::setChannelVolume(channel, take.volume);
      pf::setChannelRate(channel, take.rate);
    }
    pf::playSound(*tone, channel);
    if (take.whilePlaying) {
      pf::setChannelVolume(channel, take.volume);
      pf::setChannelRate(channel, take.rate);
    }
    EXPECT_TRUE(pf::channelPlaying(channel)) << take.name;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (pf::channelPlaying(channel) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(pf::channelPlaying(channel)) << take.name << " never finished";
    // The mixer writes the last samples a little after the source stops.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
  }
  pf::installAudioBackend(previous);
  audio.reset();
  std::error_code error;
  fs::rename(dir / kDeviceFile, dir / (std::string(take.name) + ".wav"), error);
  EXPECT_FALSE(error) << take.name << ": no recording at " << (dir / kDeviceFile) << ": " << error.message();
  return true;
}

void recordTakes(const fs::path& dir) {
  for (const Take& take : kTakes) {
    if (recordTake(dir, take)) continue;
    // Only a device that never opens means there is no wave output here.
    if (&take == &kTakes[0]) {
      writeFile(dir / kUnavailableFile, "the wave output did not open\n");
    } else {
      ADD_FAILURE() << "the wave output opened once, then not for " << take.name;
    }
    return;
  }
}

// ---------------------------------------------------------------- parent side

bool onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::stringstream dirs(path);
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (!dir.empty() && access((fs::path(dir) / program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

// A scratch folder, removed afterwards unless the test failed.
struct ScratchDir {
  ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "ovelune-openal-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path = pattern;
  }
  ~ScratchDir() {
    if (path.empty()) return;
    if (testing::Test::HasFailure()) {
      std::fprintf(stderr, "recordings kept in %s\n", path.c_str());
    } else {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  }
  fs::path path;
};

// Runs this test again in a fresh process that records into `dir`, with an
// OpenAL Soft configuration of its own; its output goes to `log`. Returns the
// wait status, or -1 when it could not start or had to be killed.
int runRecorder(const fs::path& dir, const fs::path& config, const fs::path& log) {
  // Nothing of this process's OpenAL or test-runner settings (sharding,
  // report files) carries over.
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string_view var(*e);
    if (var.starts_with("ALSOFT_") || var.starts_with("GTEST_") || var.starts_with(kRecordDirVar)) continue;
    env.emplace_back(var);
  }
  env.push_back("ALSOFT_CONF=" + config.string());
  env.push_back("ALSOFT_DRIVERS=wave");
  env.push_back(std::string(kRecordDirVar) + "=" + dir.string());
  std::vector<char*> envp;
  for (std::string& var : env) envp.push_back(var.data());
  envp.push_back(nullptr);

  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string exe = "/proc/self/exe";
  std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
  char* argv[] = {exe.data(), filter.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return status;
}

struct Measure {
  double seconds = 0;
  double rms = 0;
  double hz = 0;
  std::string report;  // sox's own words, for failure messages
};

// Measures 150 ms of the take from 50 ms after the tone sets in, so leading
// silence, the start of the play and the end of the recording do not count.
Measure measure(const fs::path& wav) {
  Measure m;
  const std::string command = "sox '" + wav.string() + "' -n channels 1 silence 1 0.01 1% trim 0.05 0.15 stat 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return m;
  char line[256];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    const std::string text(line);
    m.report += text;
    const size_t colon = text.find(':');
    if (colon == std::string::npos) continue;
    const double value = std::atof(text.c_str() + colon + 1);
    if (text.starts_with("Length (seconds)")) m.seconds = value;
    if (text.starts_with("RMS     amplitude")) m.rms = value;
    if (text.starts_with("Rough   frequency")) m.hz = value;
  }
  pclose(pipe);
  return m;
}

TEST(OpenAlOutput, PlayedToneComesOutAtItsChannelsVolumeAndRate) {
  if (const char* dir = std::getenv(kRecordDirVar)) {
    recordTakes(dir);
    return;
  }
  if (!onPath("sox")) SKIP_UNLESS_CI("sox is not on PATH; it measures the recorded output");
  const ScratchDir scratch;
  ASSERT_FALSE(scratch.path.empty()) << "no scratch folder";
  const fs::path config = scratch.path / "alsoft.conf";
  writeFile(config,
            "[general]\n"
            "drivers = wave\n"
            "sample-type = int16\n"
            "frequency = 44100\n"
            "channels = stereo\n"
            "[wave]\n"
            "file = " +
                (scratch.path / kDeviceFile).string() + "\n");
  const fs::path log = scratch.path / "recorder.log";
  const int status = runRecorder(scratch.path, config, log);
  const bool recorded = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  ASSERT_TRUE(recorded) << "the recording run failed:\n" << readFile(log);
  if (fs::exists(scratch.path / kUnavailableFile)) {
    SKIP_UNLESS_CI("OpenAL Soft's wave output (ALSOFT_DRIVERS=wave) does not open here");
  }

  std::vector<Measure> takes;
  for (const Take& take : kTakes) {
    takes.push_back(measure(scratch.path / (std::string(take.name) + ".wav")));
    // A window cut short means the tone stopped early or never started.
    ASSERT_NEAR(takes.back().seconds, 0.15, 0.002) << take.name << ":\n" << takes.back().report;
  }
  const Measure& reference = takes[0];
  const Measure& halfVolume = takes[1];
  const Measure& doubleRate = takes[2];
  const Measure& retuned = takes[3];

  // Heard at all, at its own pitch, and never louder than its samples (a
  // centred mono sound is spread over both speakers, so some quieter).
  EXPECT_GT(reference.rms, 0.05) << reference.report;
  EXPECT_LT(reference.rms, kToneAmplitude / std::sqrt(2.0) * 1.05) << reference.report;
  EXPECT_NEAR(reference.hz, kToneHz, kToneHz * 0.05) << reference.report;

  // Volume scales the amplitude; rate scales the pitch.
  EXPECT_NEAR(halfVolume.rms / reference.rms, 0.5, 0.5 * 0.15) << halfVolume.report;
  EXPECT_NEAR(halfVolume.hz / reference.hz, 1.0, 0.05) << halfVolume.report;
  EXPECT_NEAR(doubleRate.hz / reference.hz, 2.0, 2.0 * 0.1) << doubleRate.report;
  EXPECT_NEAR(doubleRate.rms / reference.rms, 1.0, 0.15) << doubleRate.report;
  EXPECT_NEAR(retuned.rms / reference.rms, 0.25, 0.25 * 0.15) << retuned.report;
  EXPECT_NEAR(retuned.hz / reference.hz, 1.5, 1.5 * 0.1) << retuned.report;
}

}  // namespace
