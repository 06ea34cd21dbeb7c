#include "test_support.hpp"

#include "essentials/math.hpp"
#include "essentials/settings.hpp"

pf::HeadlessBackend& freshHeadless(uint64_t seed) {
  settings = Settings{};
  program = ProgramState{};
  SeedRnd(seed);
  return pf::installHeadless();
}
