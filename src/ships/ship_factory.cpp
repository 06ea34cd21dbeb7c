#include "ships/ship_factory.hpp"

#include "ships/player.hpp"

std::unique_ptr<playerbase> createShip(int number) {
  switch (number) {
    case 1: return player::Create();
    default: return nullptr;
  }
}
