// The setup list, the key redefinition, the joystick button redefinition and
// the window/full-screen switch. Every change is saved at once.
#include <array>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "frontend/menu.hpp"
#include "persist/settings_row.hpp"
#include "platform/platform.hpp"

namespace {

constexpr int kJoyButtonsScanned = 17;  // buttons 0 to 16 of port 0
constexpr int kMessageFrames = 120;

struct KeyPrompt {
  const char* text;
  int Settings::*key;
};

constexpr std::array<KeyPrompt, 7> kKeyPrompts = {{
    {"press move up key", &Settings::upkey},
    {"press move down key", &Settings::downkey},
    {"press move left key", &Settings::leftkey},
    {"press move right key", &Settings::rightkey},
    {"press attack 1 key", &Settings::fire1key},
    {"press attack 2 key", &Settings::fire2key},
    {"press special attack key", &Settings::fire3key},
}};

// Forgets every joystick button press not read yet.
void drainJoyHits() {
  for (int button = 0; button < kJoyButtonsScanned; ++button) pf::joyHit(button, 0);
}

// The first button of port 0 pressed since the last scan, or -1. Every
// button's presses are read, so none is left over for the next prompt.
int takeJoyPress() {
  int pressed = -1;
  for (int button = 0; button < kJoyButtonsScanned; ++button) {
    if (pf::joyHit(button, 0) > 0 && pressed < 0) pressed = button;
  }
  return pressed;
}

// Shows the prompt until the key that answered the last one is let go, so its
// key repeat cannot answer the next. False when the window is asked to close.
bool waitForRelease(int code, const char* prompt) {
  while (pf::keyDown(code) && pf::displayOpen()) {
    if (pf::closeRequested()) return false;
    pf::clear();
    drawTextCentred(prompt, 400, 200, 1);
    pf::flip();
  }
  return !pf::closeRequested();
}

}  // namespace

void menu::saveNow() {
  lastSave_ = saveSettings();
  // The program ends with the database's report (see lastSave()).
  if (!lastSave_) quit = 1;
}

void menu::screenSetup() {
  titlestring = "Setup";
  cursormax = 6;
  pf::setScale(1, 1);
  const std::array<std::string, 6> entries = {
      settings.music == 1 ? "Music On" : "Music OFF",
      settings.sound == 1 ? "Sfx on" : "sfx off",
      "change keys",
      "joystick buttons",
      settings.screendepth == 32 ? "Switch to windowed" : "Switch to fullscreen",
      "back",
  };
  for (size_t i = 0; i < entries.size(); ++i) pf::drawText(entries[i], 50, static_cast<float>(80 + 30 * i));
  cursorY = 80 + 30 * (selectedItem - 1);
  if (buttonpressed != 1) return;
  switch (selectedItem) {
    case 1:
      toggleMusic();
      saveNow();
      break;
    case 2:
      settings.sound = settings.sound == 1 ? 0 : 1;
      saveNow();
      break;
    case 3: menustate = "keys"; break;
    case 4:
      // The button that confirmed this entry must not become "attack 1".
      drainJoyHits();
      joyinputstate = 1;
      joyinputtimer = 0;
      menustate = "joysticks";
      break;
    case 5: switchDisplayMode(); break;
    case 6:
      menustate = "main";
      selectedItem = 1;
      break;
    default: break;
  }
}

void menu::toggleMusic() {
  if (settings.music == 1) {
    settings.music = 0;
    pf::stopChannel(assets.musicTitle.channel);
  } else {
    settings.music = 1;
    // A fresh channel: the title track starts again from its beginning.
    assets.musicTitle.channel = pf::allocChannel();
    startMusic(assets.musicTitle);
  }
}

void menu::switchDisplayMode() {
  const int oldDepth = settings.screendepth;
  const int newDepth = oldDepth == 32 ? 0 : 32;
  pf::closeDisplay();
  // The new mode is kept (and saved) only once the display is open in it;
  // otherwise the old mode comes back and nothing changes.
  bool switched = pf::openDisplay(settings.screenwidth, settings.screenheight, newDepth);
  if (switched) {
    settings.screendepth = newDepth;
  } else if (!pf::openDisplay(settings.screenwidth, settings.screenheight, oldDepth)) {
    quit = 1;  // no display at all: end normally, saving the settings as they are
    return;
  }
  if (settings.screendepth == 32) {
    pf::hidePointer();
  } else {
    pf::showPointer();
  }
  reloadGameFont();
  if (switched) saveNow();
}

void menu::screenKeys() {
  drawcursor = 0;
  pf::clear();
  pf::setScale(1, 1);
  pf::flushKeys();
  // The new keys take effect only once all seven are given: a sequence ended
  // half-way (a close request, SIGTERM, or a lost display, whose handler
  // saves the settings at once) leaves the old keys in place and stored.
  Settings chosen = settings;
  for (const KeyPrompt& prompt : kKeyPrompts) {
    drawTextCentred(prompt.text, 400, 200, 1);
    pf::flip();
    const int code = pf::waitKey();
    // The menu quits on this frame's close check.
    if (code == 0 || !waitForRelease(code, prompt.text)) {
      menustate = "setup";
      return;
    }
    chosen.*prompt.key = code;
    pf::flushKeys();
    pf::clear();
  }
  for (const KeyPrompt& p : kKeyPrompts) settings.*p.key = chosen.*p.key;
  pf::clear();
  for (int i = 0; i < kMessageFrames; ++i) {
    drawTextCentred("settings saved", 400, 300, 1);
    pf::flip();
    pf::clear();
  }
  saveNow();
  menustate = "setup";
}

void menu::screenJoysticks() {
  drawcursor = 0;
  pf::setScale(1, 1);
  if (settings.usejoy != 1) {
    joyinputtimer += 1;
    if (joyinputtimer < kMessageFrames) {
      drawTextCentred("No joystick found", 400, 300, 1);
    } else {
      joyinputtimer = 0;
      menustate = "setup";
    }
    return;
  }
  static constexpr std::array<const char*, 3> kPrompts = {"press attack 1 button", "press attack 2 button",
                                                          "press special attack button"};
  if (joyinputstate >= 1 && joyinputstate <= 3) {
    drawTextCentred(kPrompts[static_cast<size_t>(joyinputstate - 1)], 400, 200, 1);
    if (joytimer <= 10) return;
    const int button = takeJoyPress();
    if (button < 0) return;
    int* const targets[] = {&settings.jfireLeftButton, &settings.jFireRightButton, &settings.jBombButton};
    *targets[joyinputstate - 1] = button;
    joyinputstate += 1;
    return;
  }
  joyinputtimer += 1;
  if (joyinputtimer < kMessageFrames) {
    drawTextCentred("settings saved", 400, 300, 1);
    return;
  }
  joyinputtimer = 0;
  joyinputstate = 1;
  menustate = "setup";
  saveNow();
}
