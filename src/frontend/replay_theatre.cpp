#include "frontend/replay_theatre.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "essentials/draw_helpers.hpp"
#include "essentials/settings.hpp"
#include "game/replay_player.hpp"
#include "platform/input_tape.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"

namespace {

constexpr int kSpeedCount = static_cast<int>(std::size(kTheatreSpeeds));
constexpr uint64_t kSeekFrames = 600;  // ten seconds
// The overlay stays for three seconds after a key, then fades in one.
constexpr int64_t kOverlayHoldMs = 3000;
constexpr int64_t kOverlayFadeMs = 1000;
// The right-hand panel, below the multiplier and above the boss clock.
constexpr float kPanelX = 680, kPanelTop = 140, kPanelW = 120, kPanelH = 400;

std::string clock(uint64_t frames) {
  const uint64_t seconds = frames / 60;
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
  return text;
}

std::string speedName(int index) {
  const double speed = kTheatreSpeeds[index];
  if (speed >= 1) return std::to_string(static_cast<int>(speed)) + "x";
  return "1/" + std::to_string(static_cast<int>(std::lround(1 / speed))) + "x";
}

// The sound of the theatre: heard at the normal speed only. While it lives
// effects are not started either (a seek would start thousands); the
// player's setting comes back with it.
class Muting {
 public:
  Muting() : sound_(settings.sound) {}
  ~Muting() { set(false); }
  void set(bool muted) {
    pf::setSoundMuted(muted);
    settings.sound = muted ? 0 : sound_;
  }

 private:
  int sound_;
};

class Theatre {
 public:
  Theatre(const Replay& replay, int speedIndex) : player_(replay), speed_(speedIndex) {}

  bool run() {
    if (!player_.ok()) return false;
    pf::flushKeys();
    shownSince_ = pf::millisecs();
    rebase();
    while (!pf::closeRequested()) {
      if (!readKeys()) break;
      play();
      drawOverlay();
      pf::flip();
      if (player_.over() && !reported_) {
        std::printf("Ovelune: the replay is over: %s\n", player_.outcome().c_str());
        std::fflush(stdout);
        reported_ = true;
      }
    }
    return true;
  }

 private:
  // Keys of the live input: the run's own reads come from the recording.
  // False on Escape.
  bool readKeys() {
    const auto hit = [](int code) { return pf::liveKeyHit(code) > 0; };
    bool pressed = true;
    if (hit(pf::vk::kEscape)) return false;
    if (hit(pf::vk::kSpace)) {
      paused_ = !paused_;
    } else if (hit(pf::vk::kPeriod) && paused_) {
      player_.step(true);
    } else if (hit(pf::vk::kUp)) {
      speed_ = std::min(speed_ + 1, kSpeedCount - 1);
    } else if (hit(pf::vk::kDown)) {
      speed_ = std::max(speed_ - 1, 0);
    } else if (hit(pf::vk::kLeft)) {
      seek(player_.frame() > kSeekFrames ? player_.frame() - kSeekFrames : 0);
    } else if (hit(pf::vk::kRight)) {
      seek(std::min(player_.frame() + kSeekFrames, player_.length()));
    } else if (hit(pf::vk::kR) || hit(pf::vk::kHome)) {
      seek(0);
    } else {
      pressed = false;
    }
    if (pressed) {
      shownSince_ = pf::millisecs();
      rebase();
    }
    return true;
  }

  // Lands on the frame and shows it: the frames before it undrawn, the
  // frame itself drawn.
  void seek(uint64_t frame) {
    muting_.set(true);
    const uint64_t shown = std::max<uint64_t>(frame, 1);
    player_.seek(shown - 1);
    player_.step(true);
    reported_ = reported_ && player_.over();
  }

  // Plays the frames due by the clock at the current speed: every one, but
  // only the last of them drawn. When even that cannot keep up, the theatre
  // slows down rather than stop showing anything.
  void play() {
    muting_.set(speed_ != kTheatreNormal);
    if (paused_ || player_.over()) return;
    const double due = static_cast<double>(pf::millisecs() - since_) * 0.06 * kTheatreSpeeds[speed_];
    uint64_t frames = static_cast<uint64_t>(due) - played_;
    const uint64_t most = static_cast<uint64_t>(std::ceil(kTheatreSpeeds[speed_])) * 3;
    if (frames > most) {
      frames = most;
      rebase();
    }
    for (uint64_t i = 0; i < frames && !player_.over(); ++i) player_.step(i + 1 == frames);
    played_ += frames;
  }

  // The clock of the current speed starts again now.
  void rebase() {
    since_ = pf::millisecs();
    played_ = 0;
  }

  void drawOverlay() const {
    // Stays while the picture stands still (paused, or the run is over).
    const int64_t idle = paused_ || player_.over() ? 0 : pf::millisecs() - shownSince_;
    const float alpha = idle < kOverlayHoldMs
                            ? 1.0f
                            : std::max(0.0f, 1.0f - static_cast<float>(idle - kOverlayHoldMs) / kOverlayFadeMs);
    resetDrawState();
    pf::setColour(0, 0, 0);
    pf::fillRect(kPanelX, kPanelTop, kPanelW, kPanelH);
    if (alpha <= 0) return;
    pf::setColour(255, 150, 0);
    pf::setAlpha(alpha);
    pf::setScale(0.6f, 0.6f);
    float y = kPanelTop;
    const auto line = [&](const std::string& text, float step) {
      pf::drawText(text, kPanelX, y);
      y += step;
    };
    line("REPLAY", 24);
    pf::setColour(255, 255, 255);
    line(clock(player_.frame()) + " / " + clock(player_.length()), 20);
    line(player_.over() ? "the end" : paused_ ? "paused" : speedName(speed_), 36);
    pf::setScale(0.45f, 0.45f);
    pf::setColour(150, 150, 150);
    for (const char* help :
         {"space  pause", ".  one frame", "up down  speed", "left right  10 s", "r  from start", "esc  leave"}) {
      line(help, 16);
    }
    resetDrawState();
  }

  ReplayPlayer player_;
  Muting muting_;
  int speed_;
  bool paused_ = false;
  bool reported_ = false;
  int64_t since_ = 0;
  uint64_t played_ = 0;
  int64_t shownSince_ = 0;
};

}  // namespace

int theatreSpeedIndex(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  const bool number = end != text.c_str() && *end == '\0';
  for (int i = 0; i < kSpeedCount; ++i) {
    const std::string name = speedName(i);
    if (text == name || text + "x" == name || (number && value == kTheatreSpeeds[i])) return i;
  }
  return -1;
}

bool watchInTheatre(const Replay& replay, int speedIndex) { return Theatre(replay, speedIndex).run(); }
