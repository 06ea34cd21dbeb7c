#pragma once
// A scene played as a player has it: paced to 60 Hz (vsync or the timer),
// frames skipped when drawing falls behind, the render quality chosen by the
// display (auto).
#include <string>
#include <vector>

struct PacedPlay {
  double gameSpeed = 0;  // updates per wall second / 60
  double shownFramesPerSecond = 0;
  double fullQualityShare = 0;  // of the shown frames
  std::vector<int> levelsUsed;  // the lowered qualities shown frames had
};

// Plays the named scene for a second to settle, then measures `seconds` of
// wall time (the display must be open).
PacedPlay playPaced(const std::string& scene, double seconds);
