#pragma once
// A private Xvfb for tests that open real windows. It picks a free display
// itself and reports its number on a pipe; the server is told to end when
// the test process does, so even a crashed test leaves no server behind.
#include <sys/types.h>

#include <string>

class PrivateXServer {
 public:
  // Starts the server and sets DISPLAY to it; false when Xvfb is missing or
  // never reported a display. Size as Xvfb takes it, e.g. "1024x768x24".
  bool start(const std::string& screen = "320x240x24");
  // Starts one only when DISPLAY is not set (a developer's desktop or an
  // outer Xvfb serves otherwise).
  void startUnlessDisplaySet(const std::string& screen = "320x240x24");
  // Ends the server this object started, by its pid, and unsets DISPLAY.
  void stop();

 private:
  pid_t pid_ = 0;
};

// True when DISPLAY names a display.
bool displaySet();
