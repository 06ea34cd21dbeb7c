#include "ships/playerbase.hpp"

#include "essentials/settings.hpp"

playerbase::playerbase() : x(static_cast<float>(settings.screenwidth / 2)) {}
