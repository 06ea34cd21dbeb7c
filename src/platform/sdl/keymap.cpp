#include "platform/sdl/keymap.hpp"

#include <SDL.h>

#include <array>

#include "platform/keycodes.hpp"

namespace pf {
namespace {

struct KeyPair {
  SDL_Scancode scancode;
  int vk;
};

// Letters, digits, F-keys and the numpad digits are ranges and are handled
// below; this table holds every other key.
constexpr KeyPair kKeys[] = {
    {SDL_SCANCODE_RETURN, vk::kReturn},
    {SDL_SCANCODE_ESCAPE, vk::kEscape},
    {SDL_SCANCODE_BACKSPACE, vk::kBackspace},
    {SDL_SCANCODE_TAB, vk::kTab},
    {SDL_SCANCODE_SPACE, vk::kSpace},
    {SDL_SCANCODE_MINUS, vk::kMinus},
    {SDL_SCANCODE_EQUALS, vk::kEquals},
    {SDL_SCANCODE_LEFTBRACKET, vk::kBracketOpen},
    {SDL_SCANCODE_RIGHTBRACKET, vk::kBracketClose},
    {SDL_SCANCODE_BACKSLASH, vk::kBackslashUs},
    {SDL_SCANCODE_NONUSHASH, vk::kBackslashUs},
    {SDL_SCANCODE_SEMICOLON, vk::kSemicolon},
    {SDL_SCANCODE_APOSTROPHE, vk::kQuote},
    {SDL_SCANCODE_GRAVE, vk::kTilde},
    {SDL_SCANCODE_COMMA, vk::kComma},
    {SDL_SCANCODE_PERIOD, vk::kPeriod},
    {SDL_SCANCODE_SLASH, vk::kSlash},
    {SDL_SCANCODE_NONUSBACKSLASH, vk::kBackslash},
    {SDL_SCANCODE_CAPSLOCK, vk::kCapsLock},
    {SDL_SCANCODE_PRINTSCREEN, vk::kScreen},
    {SDL_SCANCODE_SCROLLLOCK, vk::kScrollLock},
    {SDL_SCANCODE_PAUSE, vk::kPause},
    {SDL_SCANCODE_INSERT, vk::kInsert},
    {SDL_SCANCODE_HOME, vk::kHome},
    {SDL_SCANCODE_PAGEUP, vk::kPageUp},
    {SDL_SCANCODE_DELETE, vk::kDelete},
    {SDL_SCANCODE_END, vk::kEnd},
    {SDL_SCANCODE_PAGEDOWN, vk::kPageDown},
    {SDL_SCANCODE_RIGHT, vk::kRight},
    {SDL_SCANCODE_LEFT, vk::kLeft},
    {SDL_SCANCODE_DOWN, vk::kDown},
    {SDL_SCANCODE_UP, vk::kUp},
    {SDL_SCANCODE_NUMLOCKCLEAR, vk::kNumLock},
    {SDL_SCANCODE_KP_DIVIDE, vk::kNumpadDivide},
    {SDL_SCANCODE_KP_MULTIPLY, vk::kNumpadMultiply},
    {SDL_SCANCODE_KP_MINUS, vk::kNumpadSubtract},
    {SDL_SCANCODE_KP_PLUS, vk::kNumpadAdd},
    {SDL_SCANCODE_KP_ENTER, vk::kReturn},
    {SDL_SCANCODE_KP_PERIOD, vk::kNumpadDecimal},
    {SDL_SCANCODE_CLEAR, vk::kClear},
    {SDL_SCANCODE_SELECT, vk::kSelect},
    {SDL_SCANCODE_EXECUTE, vk::kExecute},
    {SDL_SCANCODE_HELP, vk::kHelp},
    {SDL_SCANCODE_LSHIFT, vk::kShiftLeft},
    {SDL_SCANCODE_RSHIFT, vk::kShiftRight},
    {SDL_SCANCODE_LCTRL, vk::kControlLeft},
    {SDL_SCANCODE_RCTRL, vk::kControlRight},
    {SDL_SCANCODE_LALT, vk::kAltLeft},
    {SDL_SCANCODE_RALT, vk::kAltRight},
};

std::array<int, SDL_NUM_SCANCODES> buildTable() {
  std::array<int, SDL_NUM_SCANCODES> t{};
  for (int i = 0; i < 26; ++i) t[SDL_SCANCODE_A + i] = vk::kA + i;
  // SDL orders the digit row 1..9, 0.
  for (int i = 0; i < 9; ++i) t[SDL_SCANCODE_1 + i] = vk::k0 + 1 + i;
  t[SDL_SCANCODE_0] = vk::k0;
  for (int i = 0; i < 12; ++i) t[SDL_SCANCODE_F1 + i] = vk::kF1 + i;
  for (int i = 0; i < 9; ++i) t[SDL_SCANCODE_KP_1 + i] = vk::kNumpad0 + 1 + i;
  t[SDL_SCANCODE_KP_0] = vk::kNumpad0;
  for (const KeyPair& k : kKeys) t[k.scancode] = k.vk;
  return t;
}

}  // namespace

int virtualKeyFromScancode(int scancode) {
  static const std::array<int, SDL_NUM_SCANCODES> table = buildTable();
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
  return table[static_cast<size_t>(scancode)];
}

}  // namespace pf
