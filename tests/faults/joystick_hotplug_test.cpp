// Joysticks plugged in and pulled while the game reads them, through SDL's
// virtual joystick devices (no hardware): ports fill and free, a pulled pad
// leaves no button held and no axis tilted, and the keyboard keeps working.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/sdl_joysticks.hpp"
#include "test_support.hpp"

namespace {

class JoystickHotPlug : public ::testing::Test {
 protected:
  void SetUp() override {
    freshHeadless();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    joysticks.openAll();
    pump();
  }
  void TearDown() override {
    joysticks.closeAll();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  // What the backend does once a frame.
  void pump() {
    SDL_JoystickUpdate();
    SDL_Event e;
    while (SDL_PollEvent(&e)) joysticks.handle(e);
  }
  int attach() {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 8, 0);
    EXPECT_GE(index, 0) << SDL_GetError();
    pump();
    return index;
  }
  SDL_Joystick* device(int index) { return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index)); }

  pf::SdlJoysticks joysticks;
};

TEST_F(JoystickHotPlug, AttachUseAndPullLeavesTheKeyboardWorking) {
  ASSERT_EQ(pf::joyCount(), 0);
  const int index = attach();
  ASSERT_EQ(pf::joyCount(), 1);
  SDL_Joystick* pad = device(index);
  ASSERT_NE(pad, nullptr);

  SDL_JoystickSetVirtualButton(pad, 2, SDL_PRESSED);
  SDL_JoystickSetVirtualAxis(pad, 0, -32768);
  pump();
  EXPECT_TRUE(pf::joyDown(2, 0));
  EXPECT_FLOAT_EQ(pf::joyAxis(pf::kJoyX, 0), -1.0f);

  // Pulled while the button is held and the stick pushed.
  ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
  pump();
  EXPECT_EQ(pf::joyCount(), 0);
  EXPECT_FALSE(pf::joyDown(2, 0));
  EXPECT_EQ(pf::joyAxis(pf::kJoyX, 0), 0.0f);

  pf::inputState().keyPressed(pf::vk::kLeft);
  EXPECT_TRUE(pf::keyDown(pf::vk::kLeft));
}

TEST_F(JoystickHotPlug, APulledFirstPadFreesItsPortForTheNextOne) {
  const int first = attach();
  attach();
  ASSERT_EQ(pf::joyCount(), 2);
  SDL_JoystickSetVirtualButton(device(first), 0, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(device(1), 1, SDL_PRESSED);
  pump();
  EXPECT_TRUE(pf::joyDown(0, 0));
  EXPECT_TRUE(pf::joyDown(1, 1));

  SDL_JoystickDetachVirtual(first);
  pump();
  // The second pad keeps port 1 and its held button.
  EXPECT_EQ(pf::joyCount(), 2);
  EXPECT_FALSE(pf::joyDown(0, 0));  // released with its pad
  EXPECT_TRUE(pf::joyDown(1, 1));

  const int third = attach();
  EXPECT_EQ(pf::joyCount(), 2);
  EXPECT_FALSE(pf::joyDown(0, 0));
  SDL_JoystickSetVirtualButton(device(third), 0, SDL_PRESSED);
  pump();
  EXPECT_TRUE(pf::joyDown(0, 0));  // the freed port 0

  // Closing every pad (the display's teardown) leaves nothing held either.
  joysticks.closeAll();
  EXPECT_EQ(pf::joyCount(), 0);
  EXPECT_FALSE(pf::joyDown(0, 0));
  EXPECT_FALSE(pf::joyDown(1, 1));
}

}  // namespace
