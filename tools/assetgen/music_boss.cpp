// "dirtysex", the boss track: E minor, 148 BPM, 40 bars. A pounding intro on
// an E pedal, a sixteenth-note riff over Em-C-D-B, a half-time Phrygian break
// (Em-F) that builds with a snare roll, then the riff doubled for the climax.
#include <vector>

#include "music_engine.hpp"

namespace gen {
namespace {

struct Chord {
  int root;   // bass note
  int shift;  // riff transposition
  std::vector<int> stab;
};

const Chord kEm{40, 0, {64, 67, 71}}, kC{36, -4, {64, 67, 72}}, kD{38, -2, {62, 66, 69}}, kB{35, -5, {63, 66, 71}},
    kF{41, 1, {65, 69, 72}};

bool inBreak(int bar) { return bar >= 24 && bar < 32; }

const Chord& chordAt(int bar) {
  static const Chord* const kMain[] = {&kEm, &kC, &kD, &kB};
  static const Chord* const kBreak[] = {&kEm, &kF, &kEm, &kF};
  if (bar < 4) return kEm;
  return inBreak(bar) ? *kBreak[bar % 4] : *kMain[bar % 4];
}

struct Step {
  int step, length, pitch;
};

// One bar of sixteenths over E; transposed with the chord.
const std::vector<Step> kRiff = {{0, 2, 76}, {2, 1, 76},  {3, 1, 79},  {4, 2, 76},  {6, 1, 81},  {7, 1, 79},
                                 {8, 2, 82}, {10, 1, 81}, {11, 1, 79}, {12, 2, 76}, {14, 1, 74}, {15, 1, 71}};
// The turnaround on B climbs through the harmonic minor.
const std::vector<Step> kTurn = {{0, 2, 71}, {2, 2, 75}, {4, 2, 78}, {6, 2, 81}, {8, 4, 83}, {12, 2, 82}, {14, 2, 78}};

// Long notes over the break: beats from bar 24.
const std::vector<Note> kBreakLine = {
    {0, 4, 83, 0.8f},  {4, 4, 84, 0.85f},  {8, 2, 83, 0.8f},   {10, 2, 79, 0.75f}, {12, 4, 77, 0.85f},
    {16, 4, 83, 0.8f}, {20, 4, 84, 0.85f}, {24, 2, 86, 0.85f}, {26, 2, 84, 0.8f},  {28, 4, 88, 0.9f},
};

}  // namespace

StereoTrack bossTheme() {
  const Song song{148.0, 40};
  LoopBus drums(song), bass(song), stabs(song), pads(song), lead(song), fx(song);
  const BassTone bassTone{180.0f, 2600.0f, 0.05f, 0.65f, 0.5f, 0.015f};
  const PluckTone stabTone{0.12f, 4200.0f, 0.05f, 0.35f, 0.2f};
  const PadTone padTone{0.3f, 0.5f, 1500.0f, 14.0f, 0.25f};
  const LeadTone leadTone{4200.0f, 0.3f, 10.0f, 25.0f, 0.004f, 0.06f};
  std::vector<double> kicks;

  for (int bar = 0; bar < song.bars; ++bar) {
    const Chord& chord = chordAt(bar);
    const double at = bar * 4.0;
    const bool half = inBreak(bar) && bar < 30;
    const bool intro = bar < 8;

    // Drums: four on the floor, half time in the break.
    if (half) {
      for (double b : {0.0, 1.5, 2.5}) {
        playKick(drums, song, at + b, b == 0.0 ? 1.0f : 0.8f);
        kicks.push_back(at + b);
      }
      playSnare(drums, song, at + 2, 0.9f);
    } else {
      for (int b = 0; b < 4; ++b) {
        playKick(drums, song, at + b, 1.0f);
        kicks.push_back(at + b);
      }
      if (!intro || bar >= 6) {
        playSnare(drums, song, at + 1, 0.85f);
        playSnare(drums, song, at + 3, 0.9f);
      }
    }
    for (int s = 0; s < 16; ++s) {
      const float accent = s % 4 == 2 ? 0.7f : (s % 2 == 0 ? 0.35f : 0.45f);
      if (half && s % 2 == 1) continue;
      playHat(drums, song, at + s * 0.25, accent, s == 14 && !half && bar % 2 == 1);
    }
    if (bar == 30 || bar == 31) {
      for (int s = 0; s < 16; ++s)
        playSnare(drums, song, at + s * 0.25, 0.3f + 0.6f * static_cast<float>((bar - 30) * 16 + s) / 32.0f);
    } else if (bar % 8 == 7) {
      for (int s = 10; s < 16; ++s) playSnare(drums, song, at + s * 0.25, 0.5f + 0.07f * static_cast<float>(s - 10));
    }
    if (bar % 8 == 0 && !inBreak(bar)) playCrash(drums, song, at, 0.85f);
    if (bar == 6) playRiser(fx, song, at, 8.0, 0.7f);
    if (bar == 28) playRiser(fx, song, at, 16.0, 0.9f);

    // Bass: acid sixteenths with octave jumps; long notes in the half-time break.
    if (half) {
      playBass(bass, song, {at, 3.8, static_cast<double>(chord.root + 12), 0.8f}, bassTone);
    } else {
      for (int s = 0; s < 16; ++s) {
        const bool octave = s % 8 == 3 || s % 8 == 6;
        const float velocity = s % 4 == 0 ? 1.0f : 0.65f;
        playBass(bass, song, {at + s * 0.25, 0.2, static_cast<double>(chord.root + 12 + (octave ? 12 : 0)), velocity},
                 bassTone);
      }
    }

    // Off-beat chord stabs in the main parts, a dark pad in the break.
    if (!intro && !inBreak(bar)) {
      for (int b = 0; b < 4; ++b)
        for (size_t i = 0; i < chord.stab.size(); ++i)
          playPluck(
              stabs, song,
              {at + b + 0.5, 0.2, static_cast<double>(chord.stab[i]), 0.75f, -0.4f + 0.4f * static_cast<float>(i)},
              stabTone);
    }
    if (inBreak(bar)) {
      for (size_t i = 0; i < chord.stab.size(); ++i)
        playPad(pads, song,
                {at, 4.0, static_cast<double>(chord.stab[i] - 12), 0.8f, -0.5f + 0.5f * static_cast<float>(i)},
                padTone);
    }

    // The riff from bar 8, doubled an octave down in the climax.
    if (bar >= 8 && !inBreak(bar)) {
      const bool turnaround = bar % 4 == 3;
      for (const Step& st : turnaround ? kTurn : kRiff) {
        Note n{at + st.step * 0.25, st.length * 0.25 - 0.03,
               static_cast<double>(st.pitch + (turnaround ? 0 : chord.shift)), st.step % 4 == 0 ? 0.95f : 0.75f, 0.1f};
        playLead(lead, song, n, leadTone);
        if (bar >= 32) {
          n.pitch -= 12;
          n.velocity *= 0.6f;
          n.pan = -0.35f;
          playLead(lead, song, n, leadTone);
        }
      }
    }
  }
  for (const Note& m : kBreakLine) {
    Note n = m;
    n.beat += 24 * 4.0;
    playLead(lead, song, n, leadTone);
  }

  const std::vector<float> pump = duckCurve(song, kicks, 0.5f, 0.08f);
  MixSettings mix;
  mix.reverbRoom = 0.5f;
  mix.reverbLevel = 0.6f;
  mix.delayBeats = 0.5;
  mix.delayFeedback = 0.3f;
  mix.delayLevel = 0.35f;
  mix.loudness = 0.17f;
  return mixdown(song,
                 {{&drums, 0.65f, 0.04f, 0.0f},
                  {&bass, 0.6f, 0.0f, 0.0f, &pump},
                  {&stabs, 0.6f, 0.3f, 0.25f, &pump},
                  {&pads, 0.5f, 0.5f, 0.0f, &pump},
                  {&lead, 0.85f, 0.25f, 0.3f},
                  {&fx, 0.7f, 0.3f, 0.0f}},
                 mix);
}

}  // namespace gen
