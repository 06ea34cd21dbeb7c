#pragma once
// Gradient noise for textures. The periodic variants wrap their lattice so
// that images tile without seams.
#include <cstdint>

namespace gen {

// 2D gradient noise in about [-1, 1]; the lattice repeats every periodX by
// periodY cells (x and y are in cells).
float periodicNoise(float x, float y, int periodX, int periodY, uint32_t seed);

// Fractal sum of periodicNoise; every octave doubles the frequency and the
// periods, so the sum keeps the base tile. Normalised to about [-1, 1].
float periodicFbm(float x, float y, int periodX, int periodY, int octaves, float gain, uint32_t seed);

// 1D gradient noise in about [-1, 1], and its fractal sum.
float noise1(float x, uint32_t seed);
float fbm1(float x, int octaves, float gain, uint32_t seed);

}  // namespace gen
