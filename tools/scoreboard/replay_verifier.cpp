#include "replay_verifier.hpp"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

#include "app/asset_loader.hpp"
#include "essentials/program_reset.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "game/gameplay_version.hpp"
#include "game/replay_player.hpp"
#include "game/run_recording.hpp"
#include "persist/online_scores.hpp"
#include "persist/replay_file.hpp"
#include "platform/headless/headless_backend.hpp"

namespace {

// A child's whole answer: the verdict's flag and score, then its reason.
constexpr size_t kReasonBytes = 240;
struct ChildVerdict {
  uint8_t verified;
  int64_t score;
  char reason[kReasonBytes];
};

constexpr rlim_t kChildMemory = 1024u << 20;

RunVerdict rejected(const std::string& reason) { return RunVerdict{false, 0, reason}; }

bool realEnd(RunEnd end) { return end != RunEnd::unfinished; }

}  // namespace

void prepareVerification() {
  pf::installHeadless();
  requireGameAssets();
}

RunVerdict verifyReplay(const std::vector<uint8_t>& bytes, int ship, int64_t claimed) {
  const ReplayRead read = decodeReplay(bytes);
  if (!read.ok) return rejected("the replay cannot be read: " + read.error);
  const Replay& replay = read.replay;
  if (const std::string refusal = replayRefusal(replay); !refusal.empty()) return rejected(refusal);
  if (replay.ship != ship) {
    return rejected("the replay is of ship " + std::to_string(replay.ship) + ", uploaded for ship " +
                    std::to_string(ship));
  }
  if (!realEnd(replay.result.end)) return rejected("the run did not come to an end");
  resetProgramState(replay.seed);
  settings.music = 0;
  settings.sound = 0;
  ReplayPlayer player(replay);
  if (!player.ok()) return rejected("there is no ship " + std::to_string(replay.ship));
  while (!player.over()) player.step(false);
  const ReplayResult result = runResult(player.session(), static_cast<uint32_t>(player.frame()));
  const int64_t score = submittedScore(result.score);
  if (pf::inputTape().diverged()) return rejected("the run went its own way: " + pf::inputTape().divergence());
  if (!realEnd(result.end)) return rejected("played again, the run does not come to an end");
  if (score != claimed) {
    return rejected("played again, it scores " + std::to_string(score) + ", not " + std::to_string(claimed));
  }
  return RunVerdict{true, score, ""};
}

RunVerdict verifyInChild(const RunJob& job, int cpuSeconds) {
  int fds[2];
  if (pipe(fds) != 0) return rejected("the server could not start a check");
  const pid_t pid = fork();
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    return rejected("the server could not start a check");
  }
  if (pid == 0) {
    // A check never outlives its server, however the server ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == 1) _exit(1);
    close(fds[0]);
    const rlimit cpu{static_cast<rlim_t>(cpuSeconds), static_cast<rlim_t>(cpuSeconds) + 1};
    const rlimit memory{kChildMemory, kChildMemory};
    // An unlimited check is never run.
    const bool limited = setrlimit(RLIMIT_CPU, &cpu) == 0 && setrlimit(RLIMIT_AS, &memory) == 0;
    const RunVerdict v =
        limited ? verifyReplay(job.replay, job.ship, job.claimed) : rejected("the server could not limit the check");
    ChildVerdict out{};
    out.verified = v.verified ? 1 : 0;
    out.score = v.score;
    std::strncpy(out.reason, v.reason.c_str(), kReasonBytes - 1);
    const ssize_t written = write(fds[1], &out, sizeof out);
    _exit(written == static_cast<ssize_t>(sizeof out) ? 0 : 1);
  }
  close(fds[1]);
  ChildVerdict in{};
  size_t got = 0;
  while (got < sizeof in) {
    const ssize_t n = read(fds[0], reinterpret_cast<char*>(&in) + got, sizeof in - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    return rejected(signal == SIGXCPU || signal == SIGKILL
                        ? "the check ran out of time"
                        : "the check failed (signal " + std::to_string(signal) + ")");
  }
  if (got != sizeof in) return rejected("the check failed");
  in.reason[kReasonBytes - 1] = '\0';
  return RunVerdict{in.verified != 0, in.score, in.reason};
}

VerifierPool::VerifierPool(ScoreStore& store, const VerifierOptions& options) : store_(store), options_(options) {
  // A check must end well before its claim goes stale: one still running
  // when another worker takes its run again would have its verdict thrown
  // away, and with a short timeout two workers could take a long run from
  // each other for ever.
  options_.cpuSecondsPerRun = std::clamp(options_.staleSeconds / 2, 1, options_.cpuSecondsPerRun);
  for (int i = 0; i < options_.workers; ++i) workers_.emplace_back([this] { work(); });
}

VerifierPool::~VerifierPool() {
  stopping_ = true;
  for (std::thread& w : workers_) w.join();
}

void VerifierPool::work() {
  using namespace std::chrono_literals;
  while (!stopping_) {
    std::optional<RunJob> job;
    try {
      job = store_.claimRun(options_.staleSeconds);
    } catch (const std::exception&) {
      // The store is away for now; the claim is tried again.
    }
    if (!job) {
      std::this_thread::sleep_for(100ms);
      continue;
    }
    const RunVerdict verdict = verifyInChild(*job, options_.cpuSecondsPerRun);
    try {
      store_.finishRun(*job, verdict);
    } catch (const std::exception&) {
      // Left claimed: it goes stale and another worker checks it again.
    }
  }
}
