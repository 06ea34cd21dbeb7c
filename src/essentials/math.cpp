#include "essentials/math.hpp"

#include <utility>

namespace {

// xoshiro128** seeded through splitmix64: small, fast and identical on every
// platform.
struct Generator {
  uint32_t s[4] = {0x9E3779B9u, 0x243F6A88u, 0xB7E15162u, 0x6A09E667u};

  static uint32_t rotl(uint32_t x, int k) { return (x << k) | (x >> (32 - k)); }

  uint32_t next() {
    const uint32_t result = rotl(s[1] * 5, 7) * 9;
    const uint32_t t = s[1] << 9;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = rotl(s[3], 11);
    return result;
  }

  void seed(uint64_t v) {
    for (int i = 0; i < 4; i += 2) {
      v += 0x9E3779B97F4A7C15ull;
      uint64_t z = v;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
      z ^= z >> 31;
      s[i] = static_cast<uint32_t>(z);
      s[i + 1] = static_cast<uint32_t>(z >> 32);
    }
    if ((s[0] | s[1] | s[2] | s[3]) == 0) s[0] = 1;
  }
};

Generator generator;
Generator drawGenerator;

int pickInt(Generator& from, int a, int b) {
  if (a > b) std::swap(a, b);
  const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(b) - a + 1);
  const uint64_t pick = (static_cast<uint64_t>(from.next()) * span) >> 32;
  return static_cast<int>(static_cast<int64_t>(a) + static_cast<int64_t>(pick));
}

}  // namespace

void SeedRnd(uint64_t seed) { generator.seed(seed); }

int Rand(int a, int b) { return pickInt(generator, a, b); }

void SeedDrawRnd(uint64_t seed) { drawGenerator.seed(seed); }

int DrawRand(int a, int b) { return pickInt(drawGenerator, a, b); }

double Rnd(double a, double b) {
  if (a > b) std::swap(a, b);
  // 53 random bits give a uniform real in [0, 1).
  const uint64_t high = generator.next();
  const uint64_t low = generator.next();
  const uint64_t bits = (high << 21) ^ (low >> 11);
  const double unit = static_cast<double>(bits) * (1.0 / 9007199254740992.0);
  return a + (b - a) * unit;
}
