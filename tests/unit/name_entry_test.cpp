// The name entry after a run, driven frame by frame on the headless display.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "essentials/settings.hpp"
#include "frontend/name_entry.hpp"
#include "loopback_server.hpp"
#include "persist/online_scores.hpp"
#include "persist/score_server.hpp"
#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "test_support.hpp"

namespace {

class NameEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    display = &freshHeadless();
    configureScoreServer(server.address().c_str());
    display->setFrameHook([this] { script(frame++); });
  }
  void TearDown() override {
    display->setFrameHook(nullptr);
    configureScoreServer(nullptr);
  }
  static void tap(int code) {
    pf::inputState().keyPressed(code);
    pf::inputState().keyReleased(code);
  }
  // The submission the server received, "" when there was none.
  std::string sentName() {
    for (const std::string& r : server.requests()) {
      const size_t at = r.find("name=");
      if (at != std::string::npos) return r.substr(at + 5, r.find('&', at) - at - 5);
    }
    return "";
  }

  LoopbackServer server{LoopbackServer::always(LoopbackServer::ok("ok"))};
  pf::HeadlessBackend* display = nullptr;
  std::function<void(int)> script = [](int) {};
  int frame = 0;
};

TEST_F(NameEntry, TypedPrintableCharactersUpTo15ThenReturn) {
  settings.name = "Pre";
  const std::string typed = std::string("a\n\x7f\x85 b\xE9") + "cdefghijklmnopq";
  script = [&](int f) {
    if (f < static_cast<int>(typed.size())) pf::inputState().charTyped(static_cast<unsigned char>(typed[f]));
    if (f == 40) tap(pf::vk::kReturn);
  };
  EXPECT_TRUE(submitScore(1234, 4, ""));
  // Control characters and the C1 range never enter; the stored three count
  // towards the fifteen.
  EXPECT_EQ(settings.name,
            "Prea_b\xE9"
            "cdefghij");
  EXPECT_EQ(sentName(), "Prea_b%E9cdefghij");
}

TEST_F(NameEntry, BackspaceRemovesFromThePrefilledName) {
  settings.name = "abcdefghijklmnopqrs";  // longer than any entry may be
  script = [&](int f) {
    if (f < 3) tap(pf::vk::kBackspace);
    if (f == 3) pf::inputState().charTyped('Z');
    if (f == 6) tap(pf::vk::kReturn);
  };
  EXPECT_TRUE(submitScore(1, 1, ""));
  EXPECT_EQ(settings.name, "abcdefghijklZ");
}

TEST_F(NameEntry, CloseRequestEndsWithoutSending) {
  settings.name = "kept";
  script = [&](int f) {
    if (f == 2) pf::inputState().charTyped('x');
    if (f == 5) pf::inputState().requestClose();
  };
  EXPECT_FALSE(submitScore(1, 1, ""));
  EXPECT_EQ(settings.name, "kept");
  EXPECT_TRUE(server.requests().empty());
  EXPECT_TRUE(pf::closeRequested());  // left for the menu to act on
}

TEST_F(NameEntry, AJoystickButtonHeldFromTheRunDoesNotConfirm) {
  settings.usejoy = 1;
  pf::inputState().setJoystickCount(1);
  pf::inputState().joyButton(0, 2, true);  // fire still held when the run ended
  int confirmedAt = -1;
  script = [&](int f) {
    if (f == 30) pf::inputState().joyButton(0, 2, false);
    if (f == 40) pf::inputState().joyButton(0, 2, true);
    confirmedAt = f;
  };
  EXPECT_TRUE(submitScore(1, 1, ""));
  // The fresh press is seen at the next eleventh frame, 44, which then
  // shows "submitting score..." as its one flip.
  EXPECT_EQ(confirmedAt, 44);
  EXPECT_EQ(settings.name, "Mr_Perfect");
}

}  // namespace
