// The melodic instruments of the music engine, one note at a time.
#include <algorithm>
#include <cmath>

#include "dsp.hpp"
#include "music_engine.hpp"
#include "rng.hpp"

namespace gen {
namespace {

struct PanGains {
  float l, r;
};

PanGains panGains(float pan) {
  const float a = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * 3.14159265f;
  return {std::cos(a), std::sin(a)};
}

double cents(double c) { return std::pow(2.0, c / 1200.0); }

// A start phase per note, so stacked notes never begin in lock-step.
double notePhase(const Note& n, uint32_t voice) {
  return hashUnit(hashInts(static_cast<uint32_t>(n.beat * 960.0), static_cast<uint32_t>(n.pitch * 16.0), voice));
}

struct NoteSpan {
  size_t start;
  size_t length;
  float held;  // seconds
};

NoteSpan spanOf(const Song& song, const Note& n, float tailSeconds) {
  const auto held = static_cast<float>(n.beats * song.beatSeconds());
  return {song.frameAt(n.beat), static_cast<size_t>((held + tailSeconds) * kSampleRate), held};
}

constexpr size_t kControlRate = 16;  // filters are retuned every this many samples

}  // namespace

size_t Song::frames() const { return static_cast<size_t>(std::llround(beats() * beatSeconds() * kSampleRate)); }

size_t Song::frameAt(double beat) const {
  return static_cast<size_t>(std::llround(beat * beatSeconds() * kSampleRate));
}

LoopBus::LoopBus(const Song& song) : left(song.frames(), 0.0f), right(song.frames(), 0.0f) {}

void playPad(LoopBus& bus, const Song& song, const Note& n, const PadTone& tone) {
  const NoteSpan span = spanOf(song, n, tone.release * 5.0f);
  const double hz = midiToHz(n.pitch);
  const double low = hz * cents(-tone.detuneCents), high = hz * cents(tone.detuneCents);
  Oscillator v0(notePhase(n, 0)), v1(notePhase(n, 1)), v2(notePhase(n, 2));
  Svf fl, fr;
  const PanGains pan = panGains(n.pan);
  Envelope envelope(tone.attack, 1.0f, 1.0f, span.held, tone.release);
  for (size_t k = 0; k < span.length; ++k) {
    const float env = envelope.next();
    if (k % kControlRate == 0) {
      float cutoff = tone.cutoff * (0.45f + 0.55f * env);
      if (tone.breathBars > 0.0f) {
        const double beat = static_cast<double>(span.start + k) / kSampleRate / song.beatSeconds();
        cutoff *= 1.0f + 0.45f * static_cast<float>(std::sin(kTwoPi * beat / (tone.breathBars * song.beatsPerBar)));
      }
      fl.tune(cutoff, tone.resonance);
      fr.tune(cutoff, tone.resonance);
    }
    const float a = v0.saw(low);
    const float b = v1.saw(hz);
    const float c = v2.saw(high);
    const float gain = env * n.velocity * 0.4f;
    bus.add(span.start + k, fl.lowpass(0.8f * a + 0.6f * b + 0.3f * c) * gain * pan.l,
            fr.lowpass(0.3f * a + 0.6f * b + 0.8f * c) * gain * pan.r);
  }
}

void playPluck(LoopBus& bus, const Song& song, const Note& n, const PluckTone& tone) {
  const NoteSpan span = spanOf(song, n, tone.decay * 5.0f);
  const double hz = midiToHz(n.pitch);
  Oscillator saw(notePhase(n, 0)), square(notePhase(n, 1));
  Svf filter;
  const PanGains pan = panGains(n.pan);
  // Released notes die faster than they ring while held.
  Envelope envelope(0.002f, tone.decay, 0.0f, span.held, 0.08f);
  for (size_t k = 0; k < span.length; ++k) {
    if (k % kControlRate == 0) {
      const float t = static_cast<float>(k) / kSampleRate;
      const float cutoff = 200.0f + tone.cutoff * n.velocity * std::exp(-t / tone.cutoffDecay);
      filter.tune(cutoff, tone.resonance);
    }
    const float env = envelope.next();
    const float s = filter.lowpass((1.0f - tone.squareMix) * saw.saw(hz) + tone.squareMix * square.square(hz, 0.35));
    const float v = s * env * n.velocity * 0.5f;
    bus.add(span.start + k, v * pan.l, v * pan.r);
  }
}

void playBass(LoopBus& bus, const Song& song, const Note& n, const BassTone& tone) {
  const NoteSpan span = spanOf(song, n, tone.release * 5.0f);
  const double hz = midiToHz(n.pitch);
  Oscillator saw(notePhase(n, 0)), sub(notePhase(n, 1));
  Svf filter;
  Envelope envelope(0.003f, 0.25f, 0.75f, span.held, tone.release);
  for (size_t k = 0; k < span.length; ++k) {
    if (k % 8 == 0) {
      const float t = static_cast<float>(k) / kSampleRate;
      filter.tune(tone.cutoff + tone.envAmount * n.velocity * std::exp(-t / tone.envDecay), tone.resonance);
    }
    const float s = filter.lowpass(saw.saw(hz)) + tone.sub * sub.sine(hz * 0.5);
    const float v = softClip(1.5f * s) * envelope.next() * n.velocity * 0.5f;
    bus.add(span.start + k, v, v);
  }
}

void playLead(LoopBus& bus, const Song& song, const Note& n, const LeadTone& tone) {
  const NoteSpan span = spanOf(song, n, tone.release * 5.0f);
  const double hz = midiToHz(n.pitch);
  const double low = cents(-tone.detuneCents), high = cents(tone.detuneCents);
  Oscillator a(notePhase(n, 0)), b(notePhase(n, 1)), sub(notePhase(n, 2));
  double vib = 1.0;
  Svf fl, fr;
  const PanGains pan = panGains(n.pan);
  Envelope envelope(tone.attack, 0.25f, 0.7f, span.held, tone.release);
  for (size_t k = 0; k < span.length; ++k) {
    const float env = envelope.next();
    if (k % kControlRate == 0) {
      const float t = static_cast<float>(k) / kSampleRate;
      const float cutoff = tone.cutoff * (0.6f + 0.4f * env) * (0.7f + 0.3f * n.velocity);
      fl.tune(cutoff, tone.resonance);
      fr.tune(cutoff, tone.resonance);
      // Vibrato fades in on longer notes.
      const float depth = tone.vibratoCents * std::clamp((t - 0.2f) / 0.3f, 0.0f, 1.0f);
      vib = cents(depth * std::sin(static_cast<float>(kTwoPi) * 5.6f * t));
    }
    const float sa = a.saw(hz * vib * low);
    const float sb = b.saw(hz * vib * high);
    const float sq = 0.3f * sub.square(hz * 0.5 * vib);
    const float gain = env * n.velocity * 0.35f;
    bus.add(span.start + k, fl.lowpass(sa + 0.5f * sb + sq) * gain * pan.l,
            fr.lowpass(sb + 0.5f * sa + sq) * gain * pan.r);
  }
}

void playBell(LoopBus& bus, const Song& song, const Note& n, const BellTone& tone) {
  const NoteSpan span = spanOf(song, n, tone.decay * 5.0f);
  const double hz = midiToHz(n.pitch);
  double pc = notePhase(n, 0), pm = 0.0;
  const PanGains pan = panGains(n.pan);
  Decay index(tone.index, tone.decay * 0.3f);
  Envelope envelope(0.003f, tone.decay, 0.0f, span.held, 0.4f);
  for (size_t k = 0; k < span.length; ++k) {
    const float s =
        std::sin(static_cast<float>(kTwoPi * pc) + index.next() * std::sin(static_cast<float>(kTwoPi * pm)));
    pc += hz / kSampleRate;
    pm += hz * tone.ratio / kSampleRate;
    if (pc >= 1.0) pc -= 1.0;
    if (pm >= 1.0) pm -= std::floor(pm);
    const float v = s * envelope.next() * n.velocity * 0.4f;
    bus.add(span.start + k, v * pan.l, v * pan.r);
  }
}

}  // namespace gen
