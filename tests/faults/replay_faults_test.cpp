// A stranger's replay file that claims a huge run: 10 million frames of 100
// reads each in a few hundred bytes with a right checksum. The simulator and
// the game refuse it with one line and a plain status, never a crash, with
// their memory limited to a few hundred megabytes; a store of replays that
// holds one keeps working.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "persist/replay_file.hpp"
#include "persist/replay_store.hpp"
#include "temp_dir.hpp"

namespace {

constexpr rlim_t kMemoryLimit = 400u << 20;

std::vector<uint8_t> forgedReplay() {
  Replay huge;
  huge.gameplayVersion = 1;
  huge.ship = 1;
  huge.input = {pf::InputRun{10'000'000, pf::InputFrame(100, pf::InputRead{pf::InputQuery::keyDown, 38, 1})}};
  huge.result.frames = 10'000'000;
  return encodeReplay(huge);
}

struct Outcome {
  bool exited = false;
  int status = -1;
  std::string output;
};

// Runs the program of the build on the file with its address space limited;
// what it printed on either stream.
Outcome run(const std::string& program, const std::string& file, const std::string& out) {
  const pid_t pid = fork();
  if (pid == 0) {
    const rlimit limit{kMemoryLimit, kMemoryLimit};
    setrlimit(RLIMIT_AS, &limit);
    if (!std::freopen(out.c_str(), "w", stdout) || dup2(fileno(stdout), 2) < 0) _exit(125);
    execl(program.c_str(), program.c_str(), "--replay", file.c_str(), static_cast<char*>(nullptr));
    _exit(126);
  }
  int raw = 0;
  waitpid(pid, &raw, 0);
  Outcome o;
  o.exited = WIFEXITED(raw);
  o.status = o.exited ? WEXITSTATUS(raw) : WTERMSIG(raw);
  std::ifstream in(out);
  o.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return o;
}

}  // namespace

TEST(ForgedReplay, TheSimulatorAndTheGameRefuseItWithOneLine) {
  const TempDir dir;
  const std::vector<uint8_t> bytes = forgedReplay();
  ASSERT_LT(bytes.size(), 500u);
  const std::string file = dir.file("forged.ovr");
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  for (const char* program : {"./ovelune-sim", "./ovelune"}) {
    ASSERT_TRUE(std::filesystem::exists(program)) << program << " is built beside the tests";
    const Outcome o = run(program, file, dir.file("out.txt"));
    EXPECT_TRUE(o.exited) << program << " died of signal " << o.status;
    EXPECT_EQ(o.status, 1) << program << " said: " << o.output;
    EXPECT_NE(o.output.find("more than a run can have"), std::string::npos) << program << " said: " << o.output;
  }
}

TEST(ForgedReplay, AStoreHoldingOneStillKeepsTheNextRun) {
  const TempDir dir;
  const std::string folder = dir.file("replays");
  std::filesystem::create_directories(folder);
  const std::vector<uint8_t> bytes = forgedReplay();
  std::ofstream(folder + "/000001-ship1.ovr", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  Replay next;
  next.gameplayVersion = 1;
  next.ship = 1;
  next.result.score = 10;
  std::string path, error;
  ASSERT_TRUE(storeReplay(folder, next, &path, &error)) << error;
  EXPECT_EQ(path, folder + "/000002-ship1.ovr");
  EXPECT_EQ(bestStoredReplay(folder, 1, 1), path);
}
