#pragma once
// Where an installed game keeps the player's files: the database and
// replays/ live in $XDG_DATA_HOME/ovelune (by default ~/.local/share/ovelune),
// which becomes the working directory, so a game started from a desktop menu
// leaves nothing in the player's home. A game built to run from its source
// tree keeps them in the folder it is started from instead.
#include <filesystem>
#include <optional>
#include <string>

// The folder the XDG base directory rules give for the environment values
// (either may be null): an absolute XDG_DATA_HOME, else HOME/.local/share,
// then "ovelune". Nothing when neither names an absolute folder.
std::optional<std::filesystem::path> playerDataFolder(const char* xdgDataHome, const char* home);

// Creates the folder (each new level with mode 0700, as the XDG rules ask)
// and makes it the working directory. False, with the reason in *error, when
// that cannot be done.
bool enterDataFolder(const std::filesystem::path& folder, std::string* error);

// enterDataFolder with the folder this process's environment gives.
bool enterPlayerDataFolder(std::string* error);
