#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/keycodes.hpp"
#include "platform/sdl/keymap.hpp"

namespace {

int vkOf(SDL_Scancode s) { return pf::virtualKeyFromScancode(s); }

TEST(SdlKeymap, ArrowsLettersDigitsAndFunctionKeys) {
  EXPECT_EQ(vkOf(SDL_SCANCODE_LEFT), 37);
  EXPECT_EQ(vkOf(SDL_SCANCODE_UP), 38);
  EXPECT_EQ(vkOf(SDL_SCANCODE_RIGHT), 39);
  EXPECT_EQ(vkOf(SDL_SCANCODE_DOWN), 40);
  EXPECT_EQ(vkOf(SDL_SCANCODE_A), 65);
  EXPECT_EQ(vkOf(SDL_SCANCODE_X), 88);
  EXPECT_EQ(vkOf(SDL_SCANCODE_Z), 90);
  // SDL orders the digit row 1..9 then 0.
  EXPECT_EQ(vkOf(SDL_SCANCODE_0), 48);
  EXPECT_EQ(vkOf(SDL_SCANCODE_1), 49);
  EXPECT_EQ(vkOf(SDL_SCANCODE_9), 57);
  EXPECT_EQ(vkOf(SDL_SCANCODE_F1), 112);
  EXPECT_EQ(vkOf(SDL_SCANCODE_F12), 123);
}

TEST(SdlKeymap, NumpadAndEditingKeys) {
  EXPECT_EQ(vkOf(SDL_SCANCODE_KP_0), 96);
  EXPECT_EQ(vkOf(SDL_SCANCODE_KP_1), 97);
  EXPECT_EQ(vkOf(SDL_SCANCODE_KP_9), 105);
  EXPECT_EQ(vkOf(SDL_SCANCODE_KP_MULTIPLY), 106);
  EXPECT_EQ(vkOf(SDL_SCANCODE_KP_PLUS), 107);
  EXPECT_EQ(vkOf(SDL_SCANCODE_KP_MINUS), 109);
  EXPECT_EQ(vkOf(SDL_SCANCODE_KP_PERIOD), 110);
  EXPECT_EQ(vkOf(SDL_SCANCODE_KP_DIVIDE), 111);
  EXPECT_EQ(vkOf(SDL_SCANCODE_NUMLOCKCLEAR), 144);
  EXPECT_EQ(vkOf(SDL_SCANCODE_RETURN), 13);
  EXPECT_EQ(vkOf(SDL_SCANCODE_ESCAPE), 27);
  EXPECT_EQ(vkOf(SDL_SCANCODE_SPACE), 32);
  EXPECT_EQ(vkOf(SDL_SCANCODE_BACKSPACE), 8);
  EXPECT_EQ(vkOf(SDL_SCANCODE_TAB), 9);
  EXPECT_EQ(vkOf(SDL_SCANCODE_INSERT), 45);
  EXPECT_EQ(vkOf(SDL_SCANCODE_DELETE), 46);
  EXPECT_EQ(vkOf(SDL_SCANCODE_HOME), 36);
  EXPECT_EQ(vkOf(SDL_SCANCODE_END), 35);
  EXPECT_EQ(vkOf(SDL_SCANCODE_PAGEUP), 33);
  EXPECT_EQ(vkOf(SDL_SCANCODE_PAGEDOWN), 34);
  EXPECT_EQ(vkOf(SDL_SCANCODE_PAUSE), 19);
  EXPECT_EQ(vkOf(SDL_SCANCODE_CAPSLOCK), 20);
  EXPECT_EQ(vkOf(SDL_SCANCODE_SCROLLLOCK), 145);
  EXPECT_EQ(vkOf(SDL_SCANCODE_PRINTSCREEN), 44);
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
