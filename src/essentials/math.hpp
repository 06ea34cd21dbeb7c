#pragma once
// Degree-based trigonometry and the game's one seedable random generator.
// Every random number of the game comes from here, so a seed and an input
// script replay a run exactly.
#include <array>
#include <cmath>
#include <cstdint>

constexpr double kPi = 3.14159265358979323846;

namespace trig_detail {
// Sine and cosine of every whole degree 0..359.
extern const std::array<double, 360> kSinTable;
extern const std::array<double, 360> kCosTable;

// Most angles in the game are whole degrees (frame counters, random whole
// numbers); those are looked up, reduced exactly modulo 360.
inline bool wholeDegree(double degrees, int* index) {
  if (!(degrees > -1e15 && degrees < 1e15)) return false;
  const auto whole = static_cast<int64_t>(degrees);
  if (static_cast<double>(whole) != degrees) return false;
  int k = static_cast<int>(whole % 360);
  *index = k < 0 ? k + 360 : k;
  return true;
}
}  // namespace trig_detail

inline double Sin(double degrees) {
  int k;
  if (trig_detail::wholeDegree(degrees, &k)) return trig_detail::kSinTable[static_cast<size_t>(k)];
  return std::sin(degrees * (kPi / 180.0));
}

inline double Cos(double degrees) {
  int k;
  if (trig_detail::wholeDegree(degrees, &k)) return trig_detail::kCosTable[static_cast<size_t>(k)];
  return std::cos(degrees * (kPi / 180.0));
}
// Cosine and sine of a heading that seldom changes (a shot's direction),
// worked out again only when it does.
class DirectionCache {
 public:
  void aim(double degrees) {
    if (degrees == degrees_) return;
    degrees_ = degrees;
    cos_ = Cos(degrees);
    sin_ = Sin(degrees);
  }
  double cos() const { return cos_; }
  double sin() const { return sin_; }

 private:
  double degrees_ = std::nan("");
  double cos_ = 1, sin_ = 0;
};

// Two-argument arc tangent in degrees.
inline double ATan2(double y, double x) { return std::atan2(y, x) * (180.0 / kPi); }
inline double ATan(double v) { return std::atan(v) * (180.0 / kPi); }

void SeedRnd(uint64_t seed);
// Uniform integer from a to b inclusive; with a > b, from b to a.
int Rand(int a, int b);
// Uniform real from the smaller to the larger of a and b (the larger excluded).
double Rnd(double a, double b);
