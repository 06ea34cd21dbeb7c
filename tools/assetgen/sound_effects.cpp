// Sound effects, each synthesised from oscillators, noise and envelopes.
#include <algorithm>
#include <cmath>
#include <functional>

#include "audio.hpp"
#include "dsp.hpp"
#include "rng.hpp"

namespace gen {
namespace {

size_t frames(float seconds) { return static_cast<size_t>(seconds * kSampleRate); }
float timeOf(size_t i) { return static_cast<float>(i) / kSampleRate; }

Clip monoClip(float seconds, const std::function<float(float t)>& voice) {
  Clip c;
  c.samples.resize(frames(seconds));
  for (size_t i = 0; i < c.samples.size(); ++i) c.samples[i] = voice(timeOf(i));
  return c;
}

// An FM bell note added into a stereo clip at `start` seconds.
void addBell(Clip& c, float start, double note, float gain, float pan, float decay, float ratio, float index) {
  const double hz = midiToHz(note);
  const size_t first = frames(start);
  double pc = 0, pm = 0;
  const float gl = gain * std::sqrt(0.5f * (1.0f - pan)), gr = gain * std::sqrt(0.5f * (1.0f + pan));
  for (size_t i = first; i < c.samples.size() / 2; ++i) {
    const float t = timeOf(i - first);
    const float mod = index * std::exp(-t / (decay * 0.25f));
    const float s = static_cast<float>(std::sin(kTwoPi * pc + mod * std::sin(kTwoPi * pm)));
    pc += hz / kSampleRate;
    pm += hz * ratio / kSampleRate;
    const float a = attackDecay(t, 0.002f, decay);
    c.samples[i * 2] += s * a * gl;
    c.samples[i * 2 + 1] += s * a * gr;
  }
}

// Runs a stereo clip through a reverb, mixing `wet` of it back in.
void addReverb(Clip& c, float room, float damping, float wet) {
  Reverb reverb(room, damping);
  for (size_t i = 0; i < c.samples.size(); i += 2) {
    float l, r;
    reverb.process(c.samples[i], c.samples[i + 1], l, r);
    c.samples[i] += l * wet;
    c.samples[i + 1] += r * wet;
  }
}

Clip stereoClip(float seconds) {
  Clip c;
  c.channels = 2;
  c.samples.assign(frames(seconds) * 2, 0.0f);
  return c;
}

}  // namespace

Clip playerShotSound() {
  Oscillator body, sub;
  Svf tone;
  return monoClip(0.14f, [&](float t) {
    const double hz = 420.0 + 1500.0 * std::exp(-t / 0.028f);
    const float s = 0.55f * body.square(hz, 0.3) + 0.45f * sub.sine(hz * 0.5);
    tone.tune(2200.0f + 3500.0f * std::exp(-t / 0.025f), 0.15f);
    return tone.lowpass(s) * attackDecay(t, 0.002f, 0.04f);
  });
}

Clip enemyShotSound() {
  Oscillator a, b;
  Svf tone;
  return monoClip(0.18f, [&](float t) {
    // A bubble: the pitch rises as it pops, with a fast wobble.
    const double hz =
        200.0 * (1.0 + 1.5 * (1.0 - std::exp(-t / 0.05f))) * (1.0 + 0.04 * std::sin(t * 2.0 * 3.14159 * 38.0));
    const float s = a.sine(hz) + 0.3f * b.triangle(hz * 2.01);
    tone.tune(static_cast<float>(hz) * 2.5f, 0.5f);
    return (0.6f * s + 0.6f * tone.bandpass(s)) * attackDecay(t, 0.004f, 0.05f);
  });
}

Clip zapSound() {
  Oscillator saw, ring1, ring2;
  Svf tick, body;
  Prng noise(0x2a9);
  tick.tune(3800.0f, 0.4f);
  return monoClip(0.3f, [&](float t) {
    const float click = tick.bandpass(noise.bipolar()) * std::exp(-t / 0.005f) * 1.2f;
    const double hz = 90.0 + 1000.0 * std::exp(-t / 0.05f);
    body.tune(800.0f + 5000.0f * std::exp(-t / 0.04f), 0.35f);
    const float zap = body.lowpass(saw.saw(hz)) * attackDecay(t, 0.001f, 0.08f);
    // A short bright ring on top makes the hit read as a reward.
    const float ring = (ring1.sine(1568.0) + 0.6f * ring2.sine(2349.0)) * attackDecay(t, 0.002f, 0.07f) * 0.35f;
    return std::tanh(1.4f * (click + zap + ring));
  });
}

Clip missileWhooshSound() {
  Svf band;
  Oscillator thump;
  Prng noise(0x551);
  return monoClip(0.6f, [&](float t) {
    band.tune(450.0f * std::pow(9.0f, std::min(t / 0.35f, 1.0f)), 0.45f);
    const float air = band.bandpass(noise.bipolar()) * attackDecay(t, 0.06f, 0.18f);
    const float low = thump.sine(45.0 + 60.0 * std::exp(-t / 0.05f)) * attackDecay(t, 0.002f, 0.07f);
    return 1.4f * air + 0.7f * low;
  });
}

Clip specialLaunchSound() {
  Clip c = stereoClip(1.2f);
  Oscillator sawL1, sawL2, sawR1, sawR2, boom;
  Svf toneL, toneR, airL, airR;
  Prng noise(0x9e1);
  for (size_t i = 0; i < c.samples.size() / 2; ++i) {
    const float t = timeOf(i);
    // A power chord gliding up an octave and a half while the filter opens.
    const double hz = 110.0 * std::pow(2.0, 1.5 * (1.0 - std::exp(-t / 0.35f)));
    const float open = 400.0f + 5000.0f * (1.0f - std::exp(-t / 0.3f));
    toneL.tune(open, 0.3f);
    toneR.tune(open, 0.3f);
    const float chordL = toneL.lowpass(sawL1.saw(hz * 0.997) + 0.7f * sawL2.saw(hz * 1.5 * 1.003));
    const float chordR = toneR.lowpass(sawR1.saw(hz * 1.003) + 0.7f * sawR2.saw(hz * 1.5 * 0.997));
    const float env = adsr(t, 0.03f, 0.3f, 0.6f, 0.55f, 0.18f);
    airL.tune(600.0f + 5000.0f * std::min(t / 0.8f, 1.0f), 0.4f);
    airR.tune(700.0f + 5200.0f * std::min(t / 0.8f, 1.0f), 0.4f);
    const float airEnv = adsr(t, 0.25f, 0.4f, 0.5f, 0.7f, 0.15f);
    const float sub = boom.sine(35.0 + 45.0 * std::exp(-t / 0.08f)) * attackDecay(t, 0.003f, 0.25f);
    c.samples[i * 2] = 0.35f * chordL * env + 0.9f * airL.bandpass(noise.bipolar()) * airEnv + 0.8f * sub;
    c.samples[i * 2 + 1] = 0.35f * chordR * env + 0.9f * airR.bandpass(noise.bipolar()) * airEnv + 0.8f * sub;
  }
  for (float& s : c.samples) s = std::tanh(1.2f * s);
  return c;
}

Clip yesSound() {
  Clip c = stereoClip(1.5f);
  // C6 E6 G6 then C7: a quick rising "yes".
  const double notes[] = {84, 88, 91, 96};
  const float pans[] = {-0.5f, 0.2f, -0.2f, 0.4f};
  for (int n = 0; n < 4; ++n)
    addBell(c, 0.065f * static_cast<float>(n), notes[n], n == 3 ? 0.5f : 0.35f, pans[n], n == 3 ? 0.45f : 0.25f, 2.0f,
            1.6f);
  addBell(c, 0.195f, 79, 0.2f, 0.0f, 0.5f, 1.0f, 0.8f);  // a soft G5 underneath for body
  addReverb(c, 0.55f, 0.4f, 0.7f);
  return c;
}

Clip sparkleSound() {
  Clip c = stereoClip(1.1f);
  // Rising C major pentatonic run, alternating sides.
  const double notes[] = {84, 86, 88, 91, 93, 96, 98, 100, 103, 105};
  for (int n = 0; n < 10; ++n)
    addBell(c, 0.032f * static_cast<float>(n), notes[n], 0.22f + 0.02f * static_cast<float>(n),
            n % 2 == 0 ? -0.6f : 0.6f, 0.16f, 3.0f, 1.2f);
  addReverb(c, 0.5f, 0.3f, 0.6f);
  return c;
}

Clip perfectSound() {
  Clip c = stereoClip(2.6f);
  struct Voice {
    double note;
    float start, held;
  };
  // A G major pick-up stab, then a held C major chord.
  const Voice brass[] = {{67, 0.0f, 0.16f}, {71, 0.0f, 0.16f}, {74, 0.0f, 0.16f}, {60, 0.22f, 1.3f},
                         {64, 0.22f, 1.3f}, {67, 0.22f, 1.3f}, {72, 0.22f, 1.3f}, {76, 0.22f, 1.3f}};
  int v = 0;
  for (const Voice& b : brass) {
    Oscillator o1(0.1 * v), o2(0.37 * v);
    Svf fl, fr;
    const double hz = midiToHz(b.note);
    const float pan = (v % 2 == 0 ? -0.35f : 0.35f);
    for (size_t i = frames(b.start); i < c.samples.size() / 2; ++i) {
      const float t = timeOf(i) - b.start;
      const float env = adsr(t, 0.03f, 0.25f, 0.75f, b.held, 0.25f);
      if (t > b.held + 2.0f) break;
      const double vib = 1.0 + 0.004 * std::sin(t * 2.0 * 3.14159 * 5.5) * std::min(1.0f, t / 0.4f);
      const float cutoff = 500.0f + 3200.0f * env;
      fl.tune(cutoff, 0.2f);
      fr.tune(cutoff, 0.2f);
      const float s1 = o1.saw(hz * vib * 0.998), s2 = o2.saw(hz * vib * 1.002);
      c.samples[i * 2] += 0.16f * env * fl.lowpass(s1 + 0.3f * s2) * (1.0f - pan);
      c.samples[i * 2 + 1] += 0.16f * env * fr.lowpass(s2 + 0.3f * s1) * (1.0f + pan);
    }
    ++v;
  }
  // Sparkle on top and a timpani-like boom under the chord.
  const double bells[] = {84, 88, 91, 96};
  for (int n = 0; n < 4; ++n)
    addBell(c, 0.22f + 0.07f * static_cast<float>(n), bells[n], 0.18f, n % 2 == 0 ? -0.5f : 0.5f, 0.6f, 2.0f, 1.4f);
  Oscillator boom;
  for (size_t i = frames(0.22f); i < c.samples.size() / 2; ++i) {
    const float t = timeOf(i) - 0.22f;
    const float s = boom.sine(55.0 + 30.0 * std::exp(-t / 0.06f)) * attackDecay(t, 0.01f, 0.35f) * 0.2f;
    c.samples[i * 2] += s;
    c.samples[i * 2 + 1] += s;
  }
  addReverb(c, 0.7f, 0.35f, 0.6f);
  // Saturate a little so the held chord carries as far as its attack.
  normalisePeak(c.samples, 1.0f);
  for (float& s : c.samples) s = std::tanh(2.0f * s);
  return c;
}

Clip coolSound() {
  Clip c = stereoClip(0.9f);
  addBell(c, 0.0f, 79, 0.35f, -0.3f, 0.25f, 2.0f, 1.4f);  // G5
  addBell(c, 0.08f, 86, 0.35f, 0.3f, 0.35f, 2.0f, 1.4f);  // D6
  addBell(c, 0.08f, 74, 0.15f, 0.0f, 0.4f, 1.0f, 0.6f);   // D5 warmth
  addReverb(c, 0.45f, 0.4f, 0.5f);
  return c;
}

Clip explosionSound() {
  Clip c = stereoClip(1.8f);
  Svf toneL, toneR;
  Oscillator boom;
  Prng noise(0xe47);
  Prng crackle(0xc4c);
  float crackEnv = 0.0f;
  for (size_t i = 0; i < c.samples.size() / 2; ++i) {
    const float t = timeOf(i);
    const float cutoff = 180.0f + 6000.0f * std::exp(-t / 0.18f);
    toneL.tune(cutoff, 0.1f);
    toneR.tune(cutoff * 1.05f, 0.1f);
    const float env = attackDecay(t, 0.003f, 0.42f);
    // Sparse debris crackle that thins out.
    if (crackle.uniform() < 0.004 * std::exp(-t / 0.5f)) crackEnv = 1.0f;
    crackEnv *= 0.992f;
    const float crack = crackEnv * noise.bipolar() * 0.35f;
    const float low = boom.sine(28.0 + 55.0 * std::exp(-t / 0.12f)) * attackDecay(t, 0.002f, 0.5f);
    c.samples[i * 2] = std::tanh(1.6f * (toneL.lowpass(noise.bipolar()) * env * 1.3f + low * 0.9f + crack));
    c.samples[i * 2 + 1] = std::tanh(1.6f * (toneR.lowpass(noise.bipolar()) * env * 1.3f + low * 0.9f + crack));
  }
  return c;
}

Bytes effectWav(Clip clip) {
  fadeEnds(clip.samples, clip.channels, 0.002f, 0.02f);
  normalisePeak(clip.samples, dbToGain(-1.0f));
  return encodeWav(clip.samples, clip.channels, kSampleRate);
}

}  // namespace gen
