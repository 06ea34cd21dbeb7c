#pragma once
// Memory for the game objects that come and go by the dozen every frame
// (particles, sparks, shots, explosions, creatures). A class deriving from
// `Recycled` is allocated from free lists kept by size: a freed object's
// block waits for the next object of its size instead of going back to the
// heap, so a run in steady state allocates nothing. New blocks are carved from
// slabs, so objects made together lie together. Game objects are made
// and freed on the main thread only.
#include <cstddef>

class Recycled {
 public:
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size) noexcept;
};
