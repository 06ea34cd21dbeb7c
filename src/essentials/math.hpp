#pragma once
// Degree-based trigonometry and the game's seedable random generators.
// Every random number of the game comes from here, so a seed and an input
// script replay a run exactly.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

constexpr double kPi = 3.14159265358979323846;

// "Every n frames" of a frame count t: t is a multiple of n.
constexpr bool every(int t, int n) { return t % n == 0; }

namespace trig_detail {

// Sine and cosine of x radians for |x| <= pi/4: Taylor series carried far
// enough that the truncation error stays below 1e-16.
constexpr double sinQuarter(double x) {
  const double x2 = x * x;
  return x * (1 + x2 * (-1.0 / 6 +
                        x2 * (1.0 / 120 + x2 * (-1.0 / 5040 +
                                                x2 * (1.0 / 362880 +
                                                      x2 * (-1.0 / 39916800 +
                                                            x2 * (1.0 / 6227020800 + x2 * (-1.0 / 1307674368000))))))));
}

constexpr double cosQuarter(double x) {
  const double x2 = x * x;
  return 1 +
         x2 * (-0.5 + x2 * (1.0 / 24 +
                            x2 * (-1.0 / 720 + x2 * (1.0 / 40320 + x2 * (-1.0 / 3628800 +
                                                                         x2 * (1.0 / 479001600 +
                                                                               x2 * (-1.0 / 87178291200 +
                                                                                     x2 * (1.0 / 20922789888000))))))));
}

// Splits an angle in degrees into whole quarter turns (0 to 3) and a
// remainder of at most 45 degrees, returned in radians. The reduction is done
// in degrees, so whole degrees reduce exactly: Sin(90) is exactly 1.
constexpr double reduce(double degrees, int* quarter) {
  // Adding and removing 1.5 x 2^52 rounds to the nearest whole number.
  constexpr double kRound = 6755399441055744.0;
  const double turns = (degrees / 90.0 + kRound) - kRound;
  *quarter = static_cast<int>(static_cast<int64_t>(turns) & 3);
  return (degrees - turns * 90.0) * (kPi / 180.0);
}

// Angles beyond this are not game angles; the C library handles them.
constexpr double kLargeAngle = 1e15;

// Sine and cosine of a game angle (below kLargeAngle).
constexpr double sinGameAngle(double degrees) {
  int quarter = 0;
  const double r = reduce(degrees, &quarter);
  switch (quarter) {
    case 0: return sinQuarter(r);
    case 1: return cosQuarter(r);
    case 2: return -sinQuarter(r);
    default: return -cosQuarter(r);
  }
}

constexpr double cosGameAngle(double degrees) {
  int quarter = 0;
  const double r = reduce(degrees, &quarter);
  switch (quarter) {
    case 0: return cosQuarter(r);
    case 1: return -sinQuarter(r);
    case 2: return -cosQuarter(r);
    default: return sinQuarter(r);
  }
}

// A whole number of degrees d reduces to the same quarter and remainder as
// d plus or minus whole turns, so its sine and cosine are those of d mod 360:
// tables of 0 to 359 worked out by the same series when compiling hold
// exactly the values the series gives at run time.
template <double (*f)(double)>
constexpr std::array<double, 360> wholeDegreeTable() {
  std::array<double, 360> table{};
  for (int d = 0; d < 360; ++d) table[static_cast<size_t>(d)] = f(d);
  return table;
}

inline constexpr std::array<double, 360> kWholeDegreeSines = wholeDegreeTable<sinGameAngle>();
inline constexpr std::array<double, 360> kWholeDegreeCosines = wholeDegreeTable<cosGameAngle>();

constexpr size_t wholeDegreeIndex(int degrees) {
  const int d = degrees % 360;
  return static_cast<size_t>(d < 0 ? d + 360 : d);
}

}  // namespace trig_detail

// Sine and cosine of an angle in degrees. Every angle of the game goes
// through these; they are faster than the C library and agree with it to
// within a few units in the last place.
inline double Sin(double degrees) {
  if (!(std::fabs(degrees) < trig_detail::kLargeAngle)) return std::sin(degrees * (kPi / 180.0));
  return trig_detail::sinGameAngle(degrees);
}

inline double Cos(double degrees) {
  if (!(std::fabs(degrees) < trig_detail::kLargeAngle)) return std::cos(degrees * (kPi / 180.0));
  return trig_detail::cosGameAngle(degrees);
}

// Whole degrees (most of the game's phases) are looked up: the same values.
inline double Sin(int degrees) { return trig_detail::kWholeDegreeSines[trig_detail::wholeDegreeIndex(degrees)]; }
inline double Cos(int degrees) { return trig_detail::kWholeDegreeCosines[trig_detail::wholeDegreeIndex(degrees)]; }

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
// Tangent of an angle in degrees, through the C library: finite at every whole
// degree (Sin(90) / Cos(90) would divide by an exact zero).
inline double Tan(double degrees) { return std::tan(degrees * (kPi / 180.0)); }

void SeedRnd(uint64_t seed);
// Uniform integer from a to b inclusive; with a > b, from b to a.
int Rand(int a, int b);
// Uniform real from the smaller to the larger of a and b (the larger excluded).
double Rnd(double a, double b);

// Drawing's own generator, for looks that change every drawn frame (a
// flame's flicker). A paused frame is still drawn, so numbers drawn while
// drawing must not come from the run's generator: pausing would shift the
// run's sequence and a replay with pauses would play differently.
void SeedDrawRnd(uint64_t seed);
int DrawRand(int a, int b);
