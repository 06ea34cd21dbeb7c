#include "essentials/input_helpers.hpp"

#include <array>
#include <utility>

#include "essentials/settings.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"

float joyAxisByName(const std::string& name, int port) {
  static const std::array<std::pair<const char*, pf::JoyAxis>, 6> kAxes = {{
      {"joyx", pf::kJoyX},
      {"joyy", pf::kJoyY},
      {"joyz", pf::kJoyZ},
      {"joyr", pf::kJoyR},
      {"joyu", pf::kJoyU},
      {"joyv", pf::kJoyV},
  }};
  for (const auto& [axisName, axis] : kAxes) {
    if (name == axisName) return pf::joyAxis(axis, port);
  }
  return 0.0f;
}

float joyMoveX() { return joyAxisByName(settings.jMoveXAxis, settings.joystickport); }
float joyMoveY() { return joyAxisByName(settings.jMoveYAxis, settings.joystickport); }

std::string keyName(int code) {
  if (code >= 48 && code <= 57) return std::string(1, static_cast<char>(code));
  if (code >= 65 && code <= 90) return std::string(1, static_cast<char>(code));
  if (code >= 96 && code <= 105) return "Numpad " + std::to_string(code - 96);
  if (code >= 112 && code <= 123) return "F" + std::to_string(code - 111);
  switch (code) {
    case 8: return "Backspace";
    case 9: return "Tab";
    case 12: return "Clear";
    case 13: return "Return";
    case 19: return "Pause";
    case 20: return "Caps Lock";
    case 32: return "Space";
    case 33: return "Page Up";
    case 34: return "Page Down";
    case 35: return "End";
    case 36: return "Home";
    case 37: return "Left";
    case 38: return "Up";
    case 39: return "Right";
    case 40: return "Down";
    case 41: return "Select";
    case 42: return "'print";
    case 43: return "Execute";
    case 44: return "Screen";
    case 45: return "Insert";
    case 46: return "Delete";
    case 47: return "Help";
    case 106: return "Numpad *";
    case 107: return "Numpad +";
    case 109: return "Numpad -";
    case 110: return "Numpad .";
    case 111: return "Numpad /";
    case 144: return "Num Lock";
    case 145: return "Scroll Lock";
    case 160: return "Shift (Left)";
    case 161: return "Shift (Right)";
    case 162: return "Control (Left)";
    case 163: return "Control (Right)";
    case 164: return "Alt key (Left)";
    case 165: return "Alt key (Right)";
    case 186: return "Semi-colon";
    case 187: return "Equals";
    case 188: return "Comma";
    case 189: return "Minus";
    case 190: return "Period";
    case 191: return "Slash";
    case 192: return "Tilde";
    case 219: return "Bracket (Open)";
    case 221: return "Bracket (Close)";
    case 222: return "Quote";
    case 226: return "Backslash";
    default: return "";
  }
}

bool confirmPressed(int& joytimer) {
  bool confirmed = false;
  if (pf::keyDown(pf::vk::kZ) || pf::keyDown(pf::vk::kSpace) || pf::keyDown(pf::vk::kReturn)) {
    confirmed = true;
    pf::flushKeys();
  }
  if (settings.usejoy == 1) {
    for (int button = 0; button <= 12; ++button) {
      if (pf::joyDown(button, 0) && joytimer > 30) {
        confirmed = true;
        joytimer = 0;
      }
    }
  }
  return confirmed;
}
