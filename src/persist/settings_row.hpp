#pragma once
// Moves the settings row (table setupData) to and from the `settings` globals.
#include <string>

#include "persist/database.hpp"

// Reads every row of setupData into `settings` (the last row wins). A file
// without a settings row, with too few columns or with a screen size of 0 or
// less is unusable: fails with kDatabaseLoadFailed, leaving `settings` and the
// file as they were.
DbResult loadSettings();

// Rebuilds `achievements` from the achievement flags, then writes every
// global back into row 1; a failure ends the program (see DbResult).
DbResult saveSettings();

// The UPDATE statement saveSettings sends for the current globals.
std::string settingsUpdateStatement();
