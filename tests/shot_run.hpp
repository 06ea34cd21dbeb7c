#pragma once
// The shared parts of the screenshot drivers: a silent seeded run drawn by
// the real renderer, keys held from a script, and chosen frames saved as PNG
// files (only the frames shortly before each shot need drawing: the
// translucent clear forgets older frames within a few dozen).
#include <string>
#include <vector>

#include "platform/backend.hpp"
#include "platform/image.hpp"

struct Capture {
  int frame;
  std::string file;
};

// Whether a frame is drawn: all of them when span is 0, else only the span
// frames up to each shot.
bool drawnBeforeShot(const std::vector<Capture>& captures, int frame, int span);

// Presses or lets go of a key in the input state, as a held key would.
void holdKey(int code, bool down);

// Fresh silent settings, the window, every asset loaded; false (reported on
// standard error) when no window opens.
bool openShotWindow();

// Grabs the off-screen buffer into `shot` and writes DIR/FILE; false
// (reported on standard error) when the file cannot be written.
bool saveShot(pf::Image& shot, const std::string& dir, const std::string& file);

// Puts the real display back (the drivers switch to drawing nowhere between
// shots) and closes everything.
void closeShotWindow(pf::DisplayBackend* display);
