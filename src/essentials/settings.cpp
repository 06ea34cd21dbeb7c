#include "essentials/settings.hpp"

Settings settings;
ProgramState program;
