#include "ships/ship_factory.hpp"

#include "ships/player.hpp"
#include "ships/player2.hpp"
#include "ships/player3.hpp"
#include "ships/player4.hpp"
#include "ships/player5.hpp"
#include "ships/player6.hpp"

std::unique_ptr<playerbase> createShip(int number) {
  switch (number) {
    case 1: return player::Create();
    case 2: return player2::Create();
    case 3: return player3::Create();
    case 4: return player4::Create();
    case 5: return player5::Create();
    case 6: return player6::Create();
    default: return nullptr;
  }
}
