#pragma once
// The name entry after a run and the online submission of its score.
#include <cstdint>
#include <string>

// Whether a typed character may enter the name: printable ASCII and the
// printable half of Latin-1 (32 to 126, 160 to 255).
bool nameCharacter(int code);

// Shows "YOU SCORED", takes the player's name (pre-filled with the stored
// one) until Return or a fresh joystick press, stores the cleaned name in the
// `name` setting and sends the score for the ship's list, then the run's
// replay. A window-close request ends the entry at once without sending; the
// request stays set for the menu. Returns true when the name was confirmed.
bool submitScore(int32_t score, int ship, const std::string& replay);
