#include "frontend/name_entry.hpp"

#include <array>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/settings.hpp"
#include "persist/online_scores.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"

namespace {

constexpr int kJoyButtonsScanned = 16;

// Joystick buttons count only once they have been seen up since the entry
// opened: the fire button still held from the run must not confirm it.
class FreshButtons {
 public:
  FreshButtons() {
    for (int b = 0; b < kJoyButtonsScanned; ++b) held_[static_cast<size_t>(b)] = pf::joyDown(b, 0);
  }
  void watch() {
    for (int b = 0; b < kJoyButtonsScanned; ++b) {
      if (!pf::joyDown(b, 0)) held_[static_cast<size_t>(b)] = false;
    }
  }
  bool anyPressed() const {
    for (int b = 0; b < kJoyButtonsScanned; ++b) {
      if (pf::joyDown(b, 0) && !held_[static_cast<size_t>(b)]) return true;
    }
    return false;
  }

 private:
  std::array<bool, kJoyButtonsScanned> held_{};
};

void drawEntryFrame(int32_t score) {
  const float mid = static_cast<float>(pf::displayWidth() / 2);
  resetDrawState();
  pf::setFont(&assets.gameFont());
  drawTextCentred("YOU SCORED: " + std::to_string(score), mid, 150, 1);
  drawTextCentred("ENTER YOUR NAME!", mid, 200, 1);
  drawTextCentred("PRESS RETURN TO CONFIRM", mid, 450, 1);
}

}  // namespace

bool nameCharacter(int code) { return (code >= 32 && code <= 126) || (code >= 160 && code <= 255); }

bool submitScore(int32_t score, int ship, const std::string& replay) {
  pf::flushKeys();
  std::string buffer = settings.name.substr(0, kMaxNameLength);
  FreshButtons buttons;
  int typed = 0;  // the character that arrived in the previous frame
  pf::setClearColour(0, 0, 0);
  pf::clear();
  for (int frame = 0;; ++frame) {
    if (pf::closeRequested()) return false;
    drawEntryFrame(score);
    buttons.watch();
    const bool joyConfirm = settings.usejoy == 1 && frame % 11 == 0 && buttons.anyPressed();
    if (pf::keyHit(pf::vk::kReturn) > 0 || joyConfirm) break;
    if (nameCharacter(typed) && buffer.size() < kMaxNameLength) buffer += static_cast<char>(typed);
    drawTextCentred("'" + buffer + "'", static_cast<float>(pf::displayWidth() / 2), 300, 1);
    if (pf::keyHit(pf::vk::kBackspace) > 0) {
      if (!buffer.empty()) buffer.pop_back();
      typed = 0;
    } else {
      typed = pf::getChar();
    }
    pf::flip();
    pf::clear();
  }

  pf::flushKeys();
  pf::clear();
  resetDrawState();
  drawTextCentred("submitting score...", 400, 300, 1);
  pf::flip();
  settings.name = cleanPlayerName(buffer);
  sendScore(ship, settings.name, score, replay);
  return true;
}
