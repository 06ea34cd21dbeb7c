#pragma once
// Degree-based trigonometry and the game's one seedable random generator.
// Every random number of the game comes from here, so a seed and an input
// script replay a run exactly.
#include <cmath>
#include <cstdint>

constexpr double kPi = 3.14159265358979323846;

inline double Sin(double degrees) { return std::sin(degrees * (kPi / 180.0)); }
inline double Cos(double degrees) { return std::cos(degrees * (kPi / 180.0)); }
// Two-argument arc tangent in degrees.
inline double ATan2(double y, double x) { return std::atan2(y, x) * (180.0 / kPi); }
inline double ATan(double v) { return std::atan(v) * (180.0 / kPi); }

void SeedRnd(uint64_t seed);
// Uniform integer from a to b inclusive; with a > b, from b to a.
int Rand(int a, int b);
// Uniform real from the smaller to the larger of a and b (the larger excluded).
double Rnd(double a, double b);
