#pragma once
#include <memory>

#include "ships/playerbase.hpp"

// The ship with the given number (1 to 6), or null when there is none.
std::unique_ptr<playerbase> createShip(int number);
