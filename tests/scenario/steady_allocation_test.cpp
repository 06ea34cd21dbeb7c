// A run in steady state takes no memory from the heap: lists reuse their
// nodes and the short-lived objects their blocks. Every allocation of this
// test binary is counted; only the frames under test are looked at.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "essentials/settings.hpp"
#include "platform/input_state.hpp"
#include "scenario_support.hpp"

namespace {
std::atomic<long> heapAllocations{0};
}  // namespace

void* operator new(std::size_t size) {
  heapAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

// Frames 3000 to 3600 of ship three firing: the shrimp wave at its thickest.
// Counted from the frame the ship has risen in, so the run's own set-up and the
// fresh ship are not.
long allocationsOfTheWave() {
  auto g = newRun(3, 5);
  // Sound effects take a fresh channel on every play; that is the sound
  // layer's business, not the update's.
  settings.sound = 0;
  g->invulnerable = true;
  g->gametimer = 3000;
  pf::inputState().keyPressed(settings.fire1key);
  runFrames(*g, 1);
  const long before = heapAllocations.load();
  runFrames(*g, 600);
  const long during = heapAllocations.load() - before;
  pf::inputState().keyReleased(settings.fire1key);
  EXPECT_GT(g->enemylist.size(), 20u);
  return during;
}

TEST(SteadyState, AWaveOfFramesPlayedAgainAllocatesNothing) {
  // The first play grows the free lists and spare nodes to the wave's peak;
  // the same frames again must be served from them alone.
  allocationsOfTheWave();
  EXPECT_EQ(allocationsOfTheWave(), 0);
}
