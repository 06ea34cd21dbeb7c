#pragma once
// Draws a fetched online best list on the scores screen.
#include <string>

#include "persist/tokenizer.hpp"

constexpr int kBestListRows = 40;

// One entry "N. [score][name]" split for drawing: the rank's score text
// (with the leading blank the screen shows) and the name.
struct BestListEntry {
  std::string scoreText;
  std::string name;
};

// Splits entry `row` (0-based) of a list. Never reads outside the text: an
// entry without "][" is all name, one shorter than its rank text has no
// score, and only the name at the end is taken off the score.
BestListEntry splitBestListEntry(const std::string& entry, int row);

// Draws up to 40 entries from (420, 40) down in rows of 10 pixels, the names
// at x 660, then rewinds the tokenizer for the next frame. Empty entries (an
// empty or failed list is one) take no row.
void drawBestList(Tokenizer& list);
