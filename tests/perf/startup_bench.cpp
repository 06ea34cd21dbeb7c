// ovelune-startup-bench: how long the game takes from process start to its
// "Loading..." frame and to the first frame of the logo, as a player sees it
// on this machine. Each launch is a fresh process in an empty directory (a
// first start: the database is created too) running the game's own start-up.
//
//   ovelune-startup-bench [--runs N] [--shots DIR]
//
// Prints `startup_loading_ms: N` and `startup_logo_ms: N`, the medians of N
// launches (5; --runs 0 times nothing). With --shots one more launch saves the "Loading..." frame and
// the logo at full brightness as DIR/startup-loading.png and
// DIR/startup-logo-bright.png. Needs a display (Xvfb will do).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/startup.hpp"
#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "platform/sdl/sdl_display.hpp"
#include "png_file.hpp"

extern char** environ;

namespace {

// The presented frames of a start-up: a blank one once the font and images
// are in, the "Loading..." frame, then the logo's frames.
constexpr int kLoadingFlip = 2;
constexpr int kFirstLogoFlip = 3;
// The logo has faded in after 150 frames and holds full brightness a while.
constexpr int kBrightLogoFlip = kFirstLogoFlip + 165;

int64_t monotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

bool saveScreen(const std::string& path) {
  pf::ImagePtr shot = pf::createImage(pf::displayWidth(), pf::displayHeight(), 1, pf::kImageDynamic);
  pf::grabImage(*shot, 0, 0);
  return writePng(path, *shot);
}

// One launch: the real start-up and logo, watched frame by frame. Prints the
// two times in milliseconds since `origin` (when the parent spawned it).
int runChild(int64_t origin, const std::string& dir, const std::string& shots) {
  if (!pf::installSdlBackends()) {
    std::fprintf(stderr, "%s\n", pf::sdlInitError().c_str());
    return 1;
  }
  int flips = 0;
  double loadingMs = -1, logoMs = -1;
  bool saved = true;
  pf::sdlDisplay()->setFrameListener([&] {
    ++flips;
    const double ms = static_cast<double>(monotonicNs() - origin) / 1e6;
    if (flips == kLoadingFlip) {
      loadingMs = ms;
      if (!shots.empty()) saved = saveScreen(shots + "/startup-loading.png") && saved;
    }
    if (flips == kFirstLogoFlip) logoMs = ms;
    // The logo ends on a close request; screenshots wait for its full glow.
    if (flips == (shots.empty() ? kFirstLogoFlip : kBrightLogoFlip)) {
      if (!shots.empty()) saved = saveScreen(shots + "/startup-logo-bright.png") && saved;
      pf::inputState().requestClose();
    }
  });
  if (startUp(dir + "/VE4R.dtb").result != StartupResult::ready) return 1;
  showLogo();
  const bool shut = static_cast<bool>(shutDown());
  pf::shutdownSdlBackends();
  std::printf("%.1f %.1f\n", loadingMs, logoMs);
  return shut && saved && loadingMs >= 0 && logoMs >= 0 ? 0 : 1;
}

// Spawns one launch in a fresh directory; false when it fails.
bool launch(const char* self, const std::string& shots, double* loadingMs, double* logoMs) {
  char pattern[] = "/tmp/ovelune-startup-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return false;
  const std::string dir = pattern;
  const std::string output = dir + "/times.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT, 0600);
  // OpenAL's probing of absent sound cards is noise here.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const std::string origin = std::to_string(monotonicNs());
  std::vector<std::string> args = {self, "--child", origin, dir};
  if (!shots.empty()) args.push_back(shots);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 1;
  if (spawned == 0) waitpid(pid, &status, 0);
  bool ok = false;
  if (FILE* f = std::fopen(output.c_str(), "r")) {
    ok = std::fscanf(f, "%lf %lf", loadingMs, logoMs) == 2;
    std::fclose(f);
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return spawned == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::string(argv[1]) == "--child") {
    return runChild(std::strtoll(argv[2], nullptr, 10), argv[3], argc >= 5 ? argv[4] : "");
  }
  int runs = 5;
  std::string shots;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--runs") runs = std::max(0, std::atoi(argv[i + 1]));
    if (arg == "--shots") shots = std::filesystem::absolute(argv[i + 1]).string();
  }
  const std::string self = std::filesystem::canonical("/proc/self/exe").string();
  std::vector<double> loading, logo;
  for (int i = 0; i < runs; ++i) {
    double a = 0, b = 0;
    if (!launch(self.c_str(), "", &a, &b)) {
      std::fprintf(stderr, "a start-up launch failed\n");
      return 1;
    }
    loading.push_back(a);
    logo.push_back(b);
  }
  if (runs > 0) {
    std::printf("startup_loading_ms: %.0f\n", median(loading));
    std::printf("startup_logo_ms: %.0f\n", median(logo));
  }
  if (!shots.empty()) {
    double a = 0, b = 0;
    if (!launch(self.c_str(), shots, &a, &b)) {
      std::fprintf(stderr, "the screenshot launch failed\n");
      return 1;
    }
  }
  return 0;
}
