// The drum kit of the music engine and the side-chain curve of the kick.
#include <algorithm>
#include <cmath>

#include "dsp.hpp"
#include "music_engine.hpp"
#include "rng.hpp"

namespace gen {
namespace {

uint64_t hitSeed(double beat, uint64_t instrument) {
  return (static_cast<uint64_t>(beat * 960.0) << 8) ^ (instrument * 0x9e3779b97f4a7c15ULL);
}

// The classic six detuned square waves that give cymbals their metal.
class Metal {
 public:
  float next() {
    static constexpr double kHz[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    float s = 0.0f;
    for (int i = 0; i < 6; ++i) s += osc_[i].square(kHz[i] * 1.7);
    return s / 6.0f;
  }

 private:
  Oscillator osc_[6];
};

}  // namespace

void playKick(LoopBus& bus, const Song& song, double beat, float velocity) {
  const size_t start = song.frameAt(beat);
  Oscillator body;
  Prng noise(hitSeed(beat, 1));
  Svf click;
  click.tune(3000.0f, 0.2f);
  const auto length = static_cast<size_t>(0.5f * kSampleRate);
  Decay sweep(125.0f, 0.032f), clickLevel(0.6f, 0.003f);
  Envelope envelope(0.0015f, 0.2f, 0.0f, Envelope::kNeverReleased, 1.0f);
  for (size_t k = 0; k < length; ++k) {
    const float s = body.sine(46.0 + sweep.next()) * envelope.next();
    const float c = click.bandpass(noise.bipolar()) * clickLevel.next();
    const float v = softClip(1.8f * (s + c)) * velocity * 0.8f;
    bus.add(start + k, v, v);
  }
}

void playSnare(LoopBus& bus, const Song& song, double beat, float velocity) {
  const size_t start = song.frameAt(beat);
  Oscillator tone;
  Prng noise(hitSeed(beat, 2));
  Svf hpL, hpR, bp;
  hpL.tune(900.0f, 0.1f);
  hpR.tune(1000.0f, 0.1f);
  bp.tune(2400.0f, 0.3f);
  const auto length = static_cast<size_t>(0.4f * kSampleRate);
  Decay sweep(40.0f, 0.02f);
  Envelope bodyEnv(0.001f, 0.055f, 0.0f, Envelope::kNeverReleased, 1.0f);
  Envelope snapEnv(0.001f, 0.04f, 0.0f, Envelope::kNeverReleased, 1.0f);
  Envelope noiseEnv(0.001f, 0.12f, 0.0f, Envelope::kNeverReleased, 1.0f);
  for (size_t k = 0; k < length; ++k) {
    const float body = tone.sine(175.0 + sweep.next()) * bodyEnv.next() * 0.7f;
    const float n = noise.bipolar();
    const float snap = bp.bandpass(n) * snapEnv.next() * 0.8f;
    const float nenv = noiseEnv.next() * 0.55f;
    const float l = hpL.highpass(n), r = hpR.highpass(noise.bipolar());
    bus.add(start + k, (body + snap + l * nenv) * velocity, (body + snap + r * nenv) * velocity);
  }
}

void playHat(LoopBus& bus, const Song& song, double beat, float velocity, bool open) {
  const size_t start = song.frameAt(beat);
  Prng noise(hitSeed(beat, open ? 4 : 3));
  Metal metal;
  Svf hp, band;
  hp.tune(7500.0f, 0.3f);
  band.tune(10000.0f, 0.5f);
  const float decay = open ? 0.17f : 0.028f;
  const auto length = static_cast<size_t>(decay * 6.0f * kSampleRate);
  Envelope envelope(0.0008f, decay, 0.0f, Envelope::kNeverReleased, 1.0f);
  for (size_t k = 0; k < length; ++k) {
    const float s = hp.highpass(0.6f * noise.bipolar() + band.bandpass(metal.next()));
    const float v = s * envelope.next() * velocity * 0.45f;
    bus.add(start + k, v * 0.8f, v * 1.1f);
  }
}

void playCrash(LoopBus& bus, const Song& song, double beat, float velocity) {
  const size_t start = song.frameAt(beat);
  Prng noiseL(hitSeed(beat, 5)), noiseR(hitSeed(beat, 6));
  Metal metal;
  Svf hpL, hpR, band;
  hpL.tune(4200.0f, 0.2f);
  hpR.tune(4600.0f, 0.2f);
  band.tune(7000.0f, 0.4f);
  const auto length = static_cast<size_t>(3.0f * kSampleRate);
  Envelope envelope(0.002f, 0.8f, 0.0f, Envelope::kNeverReleased, 1.0f);
  for (size_t k = 0; k < length; ++k) {
    const float env = envelope.next() * velocity * 0.4f;
    const float m = band.bandpass(metal.next()) * 0.8f;
    bus.add(start + k, hpL.highpass(noiseL.bipolar() + m) * env, hpR.highpass(noiseR.bipolar() + m) * env);
  }
}

void playRiser(LoopBus& bus, const Song& song, double beat, double beats, float velocity) {
  const size_t start = song.frameAt(beat);
  const size_t length = song.frameAt(beat + beats) - start;
  Prng noiseL(hitSeed(beat, 7)), noiseR(hitSeed(beat, 8));
  Svf bl, br;
  for (size_t k = 0; k < length; ++k) {
    const float f = static_cast<float>(k) / static_cast<float>(length);
    if (k % 16 == 0) {
      bl.tune(300.0f * std::pow(25.0f, f), 0.55f);
      br.tune(320.0f * std::pow(25.0f, f), 0.55f);
    }
    const float tail = std::min(1.0f, static_cast<float>(length - k) / (0.006f * kSampleRate));
    const float env = f * f * tail * velocity * 0.6f;
    bus.add(start + k, bl.bandpass(noiseL.bipolar()) * env, br.bandpass(noiseR.bipolar()) * env);
  }
}

std::vector<float> duckCurve(const Song& song, const std::vector<double>& kickBeats, float depth, float recovery) {
  std::vector<float> curve(song.frames(), 1.0f);
  const auto reach = static_cast<size_t>(recovery * 5.0f * kSampleRate);
  const float attack = 0.004f * kSampleRate;
  for (double beat : kickBeats) {
    const size_t start = song.frameAt(beat);
    Decay fall(depth, recovery);
    for (size_t k = 0; k < reach; ++k) {
      const float dip = std::min(1.0f, static_cast<float>(k) / attack) * fall.next();
      float& g = curve[(start + k) % curve.size()];
      g = std::min(g, 1.0f - dip);
    }
  }
  return curve;
}

}  // namespace gen
