// "notechno", the title theme: D minor, 84 BPM, 32 bars. Pads alone open it,
// a slow arpeggio joins, then a soft bass and at bar 16 a bell melody over a
// light pulse; the A major chord at the end leads back to the D minor start.
#include <vector>

#include "music_engine.hpp"
#include "rng.hpp"

namespace gen {
namespace {

struct Chord {
  int bass;
  std::vector<int> pad;
};

// One chord per bar, a cycle of sixteen bars that plays twice. The last one
// resolves the suspension into A major, the dominant of the start.
const Chord kDm9{38, {53, 57, 60, 64}}, kBbMaj7{34, {53, 57, 62, 65}}, kFMaj7{41, {53, 57, 60, 64}},
    kCAdd9{36, {52, 55, 60, 62}}, kGm9{43, {53, 57, 58, 62}}, kBb69{34, {53, 57, 60, 62}}, kAm7{33, {52, 55, 60, 64}},
    kAsus{33, {52, 57, 62, 64}}, kA{33, {52, 57, 61, 64}};
const std::vector<const Chord*> kBars = {&kDm9, &kDm9, &kBbMaj7, &kBbMaj7, &kFMaj7, &kFMaj7, &kCAdd9, &kCAdd9,
                                         &kGm9, &kGm9, &kBb69,   &kBb69,   &kAm7,   &kAm7,   &kAsus,  &kA};

// Bell melody from bar 16: beat (from bar 16), length, pitch.
const std::vector<Note> kMelody = {
    {0, 1.5, 81, 0.8f},   {1.5, 0.5, 79, 0.6f},  {2, 2, 77, 0.7f},      {4, 1, 76, 0.7f},   {5, 1, 74, 0.6f},
    {6, 2, 76, 0.7f},     {8, 1.5, 77, 0.8f},    {9.5, 0.5, 76, 0.6f},  {10, 2, 74, 0.7f},  {12, 3, 69, 0.7f},
    {15, 1, 72, 0.6f},    {16, 1.5, 72, 0.8f},   {17.5, 0.5, 74, 0.6f}, {18, 2, 76, 0.7f},  {20, 1, 79, 0.75f},
    {21, 1, 77, 0.6f},    {22, 2, 76, 0.7f},     {24, 3, 74, 0.75f},    {27, 1, 72, 0.6f},  {28, 4, 76, 0.7f},
    {32, 1.5, 81, 0.8f},  {33.5, 0.5, 79, 0.6f}, {34, 2, 77, 0.7f},     {36, 1, 74, 0.65f}, {37, 1, 77, 0.65f},
    {38, 2, 81, 0.75f},   {40, 1.5, 84, 0.85f},  {41.5, 0.5, 81, 0.6f}, {42, 2, 77, 0.7f},  {44, 4, 79, 0.75f},
    {48, 1.5, 76, 0.75f}, {49.5, 0.5, 77, 0.6f}, {50, 2, 79, 0.7f},     {52, 2, 76, 0.65f}, {54, 2, 72, 0.6f},
    {56, 3, 73, 0.7f},    {59, 1, 74, 0.6f},     {60, 4, 76, 0.75f},
};

// Arpeggio order over the six arpeggio tones of a chord, one bar of eighths.
const int kArpOrder[] = {0, 2, 1, 3, 2, 4, 3, 5};

}  // namespace

StereoTrack titleTheme() {
  const Song song{84.0, 32};
  LoopBus pads(song), arp(song), bass(song), bells(song), drums(song);
  const PadTone padTone{1.2f, 0.9f, 1500.0f, 10.0f, 0.15f, 8.0f};
  const PluckTone arpTone{0.45f, 2600.0f, 0.2f, 0.2f, 0.3f};
  const BassTone bassTone{160.0f, 300.0f, 0.3f, 0.1f, 0.9f, 0.25f};
  const BellTone bellTone{3.5f, 1.6f, 1.6f};

  for (int bar = 0; bar < song.bars; ++bar) {
    const Chord& chord = *kBars[static_cast<size_t>(bar) % kBars.size()];
    const Chord& previous = *kBars[static_cast<size_t>(bar + song.bars - 1) % kBars.size()];
    const double at = bar * 4.0;
    if (&chord != &previous) {
      // Held until the next change of chord.
      int length = 1;
      while (kBars[static_cast<size_t>(bar + length) % kBars.size()] == &chord) ++length;
      for (size_t i = 0; i < chord.pad.size(); ++i) {
        const float pan = -0.5f + static_cast<float>(i) / 3.0f;
        playPad(pads, song, {at, length * 4.0, static_cast<double>(chord.pad[i]), 0.55f, pan}, padTone);
      }
      if (bar >= 8)
        playBass(bass, song, {at, length * 4.0 - 0.5, static_cast<double>(chord.bass + 12), 0.8f}, bassTone);
    }
    if (bar >= 4) {
      std::vector<int> tones = chord.pad;
      tones.push_back(chord.pad[1] + 12);
      tones.push_back(chord.pad[2] + 12);
      const float swell = bar < 8 ? 0.35f + 0.08f * static_cast<float>(bar - 4) : 0.65f;
      for (int step = 0; step < 8; ++step) {
        const int tone = tones[static_cast<size_t>(kArpOrder[(step + bar * 3) % 8])] + 12;
        const float accent = step % 2 == 0 ? 1.0f : 0.75f;
        playPluck(arp, song,
                  {at + step * 0.5, 0.45, static_cast<double>(tone), swell * accent, step % 2 == 0 ? -0.4f : 0.4f},
                  arpTone);
      }
    }
    // Before the melody, a lone high bell now and then.
    if (bar >= 4 && bar < 16 && bar % 2 == 1) {
      const double pitch = chord.pad[static_cast<size_t>(bar / 2) % chord.pad.size()] + 24;
      playBell(bells, song, {at + 1.5, 2.0, pitch, 0.35f, bar % 4 == 1 ? -0.5f : 0.5f}, bellTone);
    }
    // A light pulse under the melody half.
    if (bar >= 16 && bar < 30) {
      playKick(drums, song, at, 0.55f);
      playKick(drums, song, at + 2.0, 0.4f);
      for (int e = 0; e < 8; ++e) playHat(drums, song, at + e * 0.5, e % 2 == 1 ? 0.35f : 0.15f, false);
      if (bar % 4 == 3) playHat(drums, song, at + 3.5, 0.3f, true);
    }
  }
  for (const Note& m : kMelody) {
    Note n = m;
    n.beat += 16 * 4.0;
    n.pan = 0.15f;
    playBell(bells, song, n, bellTone);
  }

  MixSettings mix;
  mix.reverbRoom = 0.85f;
  mix.reverbDamping = 0.35f;
  mix.reverbLevel = 1.1f;
  mix.delayBeats = 0.75;
  mix.delayFeedback = 0.45f;
  mix.delayTone = 2500.0f;
  mix.delayLevel = 0.6f;
  mix.loudness = 0.14f;
  return mixdown(song,
                 {{&pads, 0.55f, 0.6f, 0.0f},
                  {&arp, 1.1f, 0.4f, 0.6f},
                  {&bass, 0.36f, 0.1f, 0.0f},
                  {&bells, 0.9f, 0.5f, 0.45f},
                  {&drums, 0.5f, 0.15f, 0.0f}},
                 mix);
}

}  // namespace gen
