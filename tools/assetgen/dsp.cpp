#include "dsp.hpp"

#include <algorithm>

namespace gen {
namespace {

// Polynomial correction of a hard step at phase wrap, t in [0, 1), dt = hz/rate.
double polyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

}  // namespace

double Oscillator::advance(double hz) {
  constexpr double kInvRate = 1.0 / kSampleRate;
  const double p = phase_;
  phase_ += hz * kInvRate;
  if (phase_ >= 1.0) phase_ -= std::floor(phase_);
  return p;
}

float Oscillator::sine(double hz) { return static_cast<float>(std::sin(kTwoPi * advance(hz))); }

float Oscillator::triangle(double hz) {
  const double p = advance(hz);
  return static_cast<float>(p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p);
}

float Oscillator::saw(double hz) {
  const double dt = hz * (1.0 / kSampleRate);
  const double p = advance(hz);
  return static_cast<float>(2.0 * p - 1.0 - polyBlep(p, dt));
}

float Oscillator::square(double hz, double pulseWidth) {
  const double dt = hz * (1.0 / kSampleRate);
  const double p = advance(hz);
  double v = p < pulseWidth ? 1.0 : -1.0;
  v += polyBlep(p, dt);
  double q = p - pulseWidth;
  if (q < 0.0) q += 1.0;
  v -= polyBlep(q, dt);
  return static_cast<float>(v);
}

void Svf::tune(float cutoffHz, float resonance) {
  cutoffHz = std::clamp(cutoffHz, 10.0f, kSampleRate * 0.45f);
  g_ = std::tan(3.14159265f * cutoffHz / kSampleRate);
  k_ = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.98f);
  a1_ = 1.0f / (1.0f + g_ * (g_ + k_));
  a2_ = g_ * a1_;
  a3_ = g_ * a2_;
}

void Svf::run(float x) {
  const float v3 = x - ic2_;
  const float v1 = a1_ * ic1_ + a2_ * v3;
  const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
  ic1_ = 2.0f * v1 - ic1_;
  ic2_ = 2.0f * v2 - ic2_;
  lp_ = v2;
  bp_ = v1;
  hp_ = x - k_ * v1 - v2;
}

void OnePole::tune(float cutoffHz) { coeff_ = 1.0f - std::exp(-2.0f * 3.14159265f * cutoffHz / kSampleRate); }

Envelope::Envelope(float attack, float decay, float sustain, float held, float release)
    : attackStep_(1.0f / std::max(1.0f, attack * kSampleRate)),
      decayFactor_(std::exp(-1.0f / (decay * kSampleRate))),
      sustain_(sustain),
      releaseFactor_(std::exp(-1.0f / (release * kSampleRate))),
      attackLeft_(static_cast<long>(attack * kSampleRate)),
      heldLeft_(static_cast<long>(held * kSampleRate)) {}

float Envelope::next() {
  const float out = level_;
  if (attackLeft_ > 0) {
    --attackLeft_;
    level_ = std::min(1.0f, level_ + attackStep_);
  } else if (heldLeft_ > 0) {
    level_ = sustain_ + (level_ - sustain_) * decayFactor_;
  } else {
    level_ *= releaseFactor_;
  }
  --heldLeft_;
  return out;
}

float attackDecay(float t, float attack, float decay) {
  if (t < 0.0f) return 0.0f;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

float adsr(float t, float attack, float decay, float sustain, float held, float release) {
  if (t < 0.0f) return 0.0f;
  auto level = [&](float u) {
    if (u < attack) return u / attack;
    return sustain + (1.0f - sustain) * std::exp(-(u - attack) / decay);
  };
  if (t < held) return level(t);
  return level(held) * std::exp(-(t - held) / release);
}

void fadeEnds(std::vector<float>& samples, int channels, float fadeInSeconds, float fadeOutSeconds) {
  const size_t frames = samples.size() / static_cast<size_t>(channels);
  const auto in = static_cast<size_t>(fadeInSeconds * kSampleRate);
  const auto out = static_cast<size_t>(fadeOutSeconds * kSampleRate);
  for (size_t f = 0; f < frames; ++f) {
    float g = 1.0f;
    if (f < in) g = static_cast<float>(f) / static_cast<float>(in);
    if (f + out >= frames) g *= static_cast<float>(frames - 1 - f) / static_cast<float>(out);
    for (int c = 0; c < channels; ++c) samples[f * channels + c] *= g;
  }
}

void normalisePeak(std::vector<float>& samples, float peak) {
  float top = 0.0f;
  for (float s : samples) top = std::max(top, std::fabs(s));
  if (top <= 0.0f) return;
  const float g = peak / top;
  for (float& s : samples) s *= g;
}

PingPongDelay::PingPongDelay(float seconds, float feedback, float toneHz)
    : l_(static_cast<size_t>(seconds * kSampleRate), 0.0f),
      r_(static_cast<size_t>(seconds * kSampleRate), 0.0f),
      feedback_(feedback) {
  toneL_.tune(toneHz);
  toneR_.tune(toneHz);
}

void PingPongDelay::process(float inL, float inR, float& outL, float& outR) {
  outL = l_[pos_];
  outR = r_[pos_];
  l_[pos_] = toneL_.lowpass(inL + outR * feedback_);
  r_[pos_] = toneR_.lowpass(inR + outL * feedback_);
  if (++pos_ == l_.size()) pos_ = 0;
}

Reverb::Reverb(float roomSize, float damping) : feedback_(0.7f + 0.28f * roomSize), damp_(damping) {
  static constexpr int kCombs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
  static constexpr int kAllpasses[] = {556, 441, 341, 225};
  constexpr int kSpread = 23;
  for (int n : kCombs) {
    combL_.push_back({std::vector<float>(static_cast<size_t>(n), 0.0f)});
    combR_.push_back({std::vector<float>(static_cast<size_t>(n + kSpread), 0.0f)});
  }
  for (int n : kAllpasses) {
    apL_.push_back({std::vector<float>(static_cast<size_t>(n), 0.0f)});
    apR_.push_back({std::vector<float>(static_cast<size_t>(n + kSpread), 0.0f)});
  }
}

float Reverb::runComb(Comb& c, float x, float feedback, float damp) {
  const float out = c.buf[c.pos];
  c.store = out * (1.0f - damp) + c.store * damp;
  c.buf[c.pos] = x + c.store * feedback;
  if (++c.pos == c.buf.size()) c.pos = 0;
  return out;
}

float Reverb::runAllpass(Allpass& a, float x) {
  const float delayed = a.buf[a.pos];
  const float out = delayed - x;
  a.buf[a.pos] = x + delayed * 0.5f;
  if (++a.pos == a.buf.size()) a.pos = 0;
  return out;
}

void Reverb::process(float inL, float inR, float& outL, float& outR) {
  const float in = (inL + inR) * 0.015f;
  float l = 0.0f, r = 0.0f;
  for (size_t i = 0; i < combL_.size(); ++i) {
    l += runComb(combL_[i], in, feedback_, damp_);
    r += runComb(combR_[i], in, feedback_, damp_);
  }
  for (size_t i = 0; i < apL_.size(); ++i) {
    l = runAllpass(apL_[i], l);
    r = runAllpass(apR_[i], r);
  }
  outL = l;
  outR = r;
}

}  // namespace gen
