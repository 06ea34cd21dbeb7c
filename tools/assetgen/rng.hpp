#pragma once
// Deterministic hashing and a seeded generator. Every procedural choice of the
// asset generator derives from fixed seeds and positions, never from the clock
// or from shared state, so two runs (and any job order) give the same bytes.
#include <cstdint>

namespace gen {

inline uint32_t hashMix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

inline uint32_t hashInts(uint32_t a, uint32_t b = 0, uint32_t c = 0, uint32_t d = 0) {
  return hashMix(a ^ hashMix(b ^ hashMix(c ^ hashMix(d + 0x9e3779b9U))));
}

// Uniform in [0, 1).
inline float hashUnit(uint32_t h) { return static_cast<float>(h >> 8) * (1.0f / 16777216.0f); }

// splitmix64: a small, well-mixed sequence for one-off choices (note timings,
// noise bursts) where a position hash would be awkward.
class Prng {
 public:
  explicit Prng(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
  double range(double a, double b) { return a + (b - a) * uniform(); }
  // White noise sample in [-1, 1).
  float bipolar() { return static_cast<float>(uniform() * 2.0 - 1.0); }

 private:
  uint64_t state_;
};

}  // namespace gen
