#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/keycodes.hpp"
#include "platform/sdl/keymap.hpp"

namespace {

int vkOf(SDL_Scancode s) { return pf::virtualKeyFromScancode(s); }

// Virtual-key codes number the letter, digit and function rows in order, as
// stored settings expect (90 is Z, 48 is 0, 112 is F1 ...).
TEST(SdlKeymap, LetterDigitAndFunctionRowsRunInOrder) {
  for (int i = 0; i < 26; ++i) EXPECT_EQ(vkOf(SDL_Scancode(SDL_SCANCODE_A + i)), 'A' + i) << char('A' + i);
  // SDL orders the digit row 1..9 then 0; the codes run 0..9.
  EXPECT_EQ(vkOf(SDL_SCANCODE_0), '0');
  for (int i = 0; i < 9; ++i) EXPECT_EQ(vkOf(SDL_Scancode(SDL_SCANCODE_1 + i)), '1' + i);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(vkOf(SDL_Scancode(SDL_SCANCODE_F1 + i)), 112 + i) << "F" << i + 1;
  EXPECT_EQ(vkOf(SDL_SCANCODE_KP_0), 96);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(vkOf(SDL_Scancode(SDL_SCANCODE_KP_1 + i)), 97 + i);
}

// The keys the game's defaults and menus name, and a few that differ between
// keyboard layouts.
TEST(SdlKeymap, KnownKeys) {
  EXPECT_EQ(vkOf(SDL_SCANCODE_LEFT), 37);
  EXPECT_EQ(vkOf(SDL_SCANCODE_UP), 38);
  EXPECT_EQ(vkOf(SDL_SCANCODE_RIGHT), 39);
  EXPECT_EQ(vkOf(SDL_SCANCODE_DOWN), 40);
  EXPECT_EQ(vkOf(SDL_SCANCODE_RETURN), 13);
  EXPECT_EQ(vkOf(SDL_SCANCODE_KP_ENTER), 13);
  EXPECT_EQ(vkOf(SDL_SCANCODE_ESCAPE), 27);
  EXPECT_EQ(vkOf(SDL_SCANCODE_SPACE), 32);
  EXPECT_EQ(vkOf(SDL_SCANCODE_BACKSPACE), 8);
  EXPECT_EQ(vkOf(SDL_SCANCODE_SEMICOLON), 186);
  EXPECT_EQ(vkOf(SDL_SCANCODE_BACKSLASH), 220);
  EXPECT_EQ(vkOf(SDL_SCANCODE_NONUSBACKSLASH), 226);
}

TEST(SdlKeymap, ModifiersAreSidedOnly) {
  EXPECT_EQ(vkOf(SDL_SCANCODE_LSHIFT), 160);
  EXPECT_EQ(vkOf(SDL_SCANCODE_RSHIFT), 161);
  EXPECT_EQ(vkOf(SDL_SCANCODE_LCTRL), 162);
  EXPECT_EQ(vkOf(SDL_SCANCODE_RCTRL), 163);
  EXPECT_EQ(vkOf(SDL_SCANCODE_LALT), 164);
  EXPECT_EQ(vkOf(SDL_SCANCODE_RALT), 165);
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
    const int vk = pf::virtualKeyFromScancode(s);
    EXPECT_TRUE(vk != pf::vk::kShift && vk != pf::vk::kControl && vk != pf::vk::kAlt) << "scancode " << s;
  }
}

TEST(SdlKeymap, Punctuation) {
  EXPECT_EQ(vkOf(SDL_SCANCODE_SEMICOLON), 186);
  EXPECT_EQ(vkOf(SDL_SCANCODE_EQUALS), 187);
  EXPECT_EQ(vkOf(SDL_SCANCODE_COMMA), 188);
  EXPECT_EQ(vkOf(SDL_SCANCODE_MINUS), 189);
  EXPECT_EQ(vkOf(SDL_SCANCODE_PERIOD), 190);
  EXPECT_EQ(vkOf(SDL_SCANCODE_SLASH), 191);
  EXPECT_EQ(vkOf(SDL_SCANCODE_GRAVE), 192);
  EXPECT_EQ(vkOf(SDL_SCANCODE_LEFTBRACKET), 219);
  EXPECT_EQ(vkOf(SDL_SCANCODE_BACKSLASH), 220);
  EXPECT_EQ(vkOf(SDL_SCANCODE_RIGHTBRACKET), 221);
  EXPECT_EQ(vkOf(SDL_SCANCODE_APOSTROPHE), 222);
  EXPECT_EQ(vkOf(SDL_SCANCODE_NONUSBACKSLASH), 226);
}

TEST(SdlKeymap, UnmappedAndOutOfRangeScancodesGiveNoKey) {
  EXPECT_EQ(vkOf(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(vkOf(SDL_SCANCODE_MUTE), 0);
  EXPECT_EQ(vkOf(SDL_SCANCODE_F24), 0);
  EXPECT_EQ(pf::virtualKeyFromScancode(-1), 0);
  EXPECT_EQ(pf::virtualKeyFromScancode(SDL_NUM_SCANCODES), 0);
}

TEST(SdlKeymap, NoTwoMainKeysShareACode) {
  // Keypad Enter deliberately doubles Return, and the ISO hash key doubles
  // the backslash; every other code belongs to one key.
  int owners[256] = {};
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
    if (s == SDL_SCANCODE_KP_ENTER || s == SDL_SCANCODE_NONUSHASH) continue;
    const int vk = pf::virtualKeyFromScancode(s);
    if (vk == 0) continue;
    ASSERT_LT(vk, 256);
    EXPECT_EQ(owners[vk]++, 0) << "code " << vk << " reused by scancode " << s;
  }
}

}  // namespace
