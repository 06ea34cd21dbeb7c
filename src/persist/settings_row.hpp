#pragma once
// Moves the settings row (table setupData) to and from the `settings` globals.
#include <string>

// Reads every row of setupData into `settings` (the last row wins). A file
// without a settings row, with too few columns or with a screen size of 0 or
// less is unusable: reports kDatabaseLoadFailed, leaves `settings` and the
// file as they were and returns false.
bool loadSettings();

// Rebuilds `achievements` from the achievement flags, then writes every
// global back into row 1. On failure reports it fatally and returns false.
bool saveSettings();

// The UPDATE statement saveSettings sends for the current globals.
std::string settingsUpdateStatement();
