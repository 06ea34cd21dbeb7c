#pragma once
// The program's start-up (register assets, settings database, display, every
// asset, the logo) and its shutdown.
#include <string>

#include "persist/database.hpp"

enum class StartupResult {
  ready,           // display open, settings and assets loaded
  databaseFailed,  // the program prints the database's text and ends with status 0
  displayFailed,   // reported on standard output; the program ends with status 1
  assetFailed,     // an embedded asset did not load: a fault of the build, status 1
};

struct Startup {
  StartupResult result = StartupResult::ready;
  std::string consoleText;  // what to print, for databaseFailed and assetFailed
};

// Everything up to and including selecting alpha blending, in order. Reads
// and creates the settings database at databasePath.
Startup startUp(const std::string& databasePath = kDatabaseFile);

// Plays the logo sting and runs the logo until its fade-out is complete.
void showLogo();

// Saves the settings row, closes the display and shows the pointer again.
DbResult shutDown();
