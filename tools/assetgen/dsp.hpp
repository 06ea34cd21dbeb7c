#pragma once
// Building blocks of the sound synthesis: band-limited oscillators, filters,
// envelopes, a delay and a reverb. Everything runs at one sample rate.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gen {

constexpr int kSampleRate = 44100;
constexpr double kTwoPi = 6.283185307179586;

inline double midiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }
inline float dbToGain(float db) { return std::pow(10.0f, db / 20.0f); }

// Phase-accumulating oscillator; saw and square use PolyBLEP against aliasing.
class Oscillator {
 public:
  explicit Oscillator(double phase = 0.0) : phase_(phase) {}
  float sine(double hz);
  float triangle(double hz);
  float saw(double hz);
  float square(double hz, double pulseWidth = 0.5);

 private:
  double advance(double hz);
  double phase_;
};

// Topology-preserving state-variable filter (12 dB/octave).
class Svf {
 public:
  void tune(float cutoffHz, float resonance);  // resonance 0 (none) .. ~0.95
  float lowpass(float x) {
    run(x);
    return lp_;
  }
  float bandpass(float x) {
    run(x);
    return bp_;
  }
  float highpass(float x) {
    run(x);
    return hp_;
  }

 private:
  void run(float x);
  float g_ = 0.1f, k_ = 1.4f, a1_ = 0, a2_ = 0, a3_ = 0;
  float ic1_ = 0, ic2_ = 0, lp_ = 0, bp_ = 0, hp_ = 0;
};

// One-pole smoother / low-pass, and the matching high-pass.
class OnePole {
 public:
  void tune(float cutoffHz);
  float lowpass(float x) { return state_ += coeff_ * (x - state_); }
  float highpass(float x) { return x - lowpass(x); }

 private:
  float coeff_ = 1.0f, state_ = 0.0f;
};

// An attack-decay-sustain-release envelope stepped once per sample: a linear
// attack, an exponential fall towards the sustain level, and from `held`
// seconds on an exponential release. With sustain 0 and no release time it
// is a plain attack-decay.
class Envelope {
 public:
  static constexpr float kNeverReleased = 1.0e6f;  // a `held` time that never comes
  Envelope(float attack, float decay, float sustain, float held, float release);
  float next();

 private:
  float level_ = 0.0f, attackStep_, decayFactor_, sustain_, releaseFactor_;
  long attackLeft_, heldLeft_;
};

// A value that decays exponentially towards zero, one sample at a time.
class Decay {
 public:
  Decay(float start, float timeConstant) : value_(start), factor_(std::exp(-1.0f / (timeConstant * kSampleRate))) {}
  float next() {
    const float v = value_;
    value_ *= factor_;
    return v;
  }

 private:
  float value_, factor_;
};

// Cheap tanh-like saturation for per-voice drive.
inline float softClip(float x) {
  if (x > 3.0f) return 1.0f;
  if (x < -3.0f) return -1.0f;
  return x * (27.0f + x * x) / (27.0f + 9.0f * x * x);
}

// Envelope shapes over time t (seconds), for one-off sounds.
float attackDecay(float t, float attack, float decay);  // linear rise, exponential fall
// Attack, decay to sustain, held until `held` seconds, then exponential release.
float adsr(float t, float attack, float decay, float sustain, float held, float release);
// Short fades at both ends of a clip, to avoid clicks.
void fadeEnds(std::vector<float>& samples, int channels, float fadeInSeconds, float fadeOutSeconds);
// Scales interleaved samples so the largest magnitude equals peak.
void normalisePeak(std::vector<float>& samples, float peak);

// Stereo feedback delay with a darkening filter in the loop; the two sides
// cross over (ping-pong).
class PingPongDelay {
 public:
  PingPongDelay(float seconds, float feedback, float toneHz);
  void process(float inL, float inR, float& outL, float& outR);

 private:
  std::vector<float> l_, r_;
  size_t pos_ = 0;
  float feedback_;
  OnePole toneL_, toneR_;
};

// Schroeder-Moorer style plate: eight damped combs and four all-passes per
// side, the right side slightly detuned for width.
class Reverb {
 public:
  Reverb(float roomSize, float damping);
  void process(float inL, float inR, float& outL, float& outR);

 private:
  struct Comb {
    std::vector<float> buf;
    size_t pos = 0;
    float store = 0;
  };
  struct Allpass {
    std::vector<float> buf;
    size_t pos = 0;
  };
  static float runComb(Comb& c, float x, float feedback, float damp);
  static float runAllpass(Allpass& a, float x);
  std::vector<Comb> combL_, combR_;
  std::vector<Allpass> apL_, apR_;
  float feedback_, damp_;
};

}  // namespace gen
