// "bornsand", the level track: A minor, 126 BPM, 48 bars. An eight-bar intro
// of drums and bass, a lead tune over Am-F-C-G, a breakdown over Am-F-Dm-E
// with a snare roll and riser, then the tune again at full strength.
#include <vector>

#include "music_engine.hpp"

namespace gen {
namespace {

struct Chord {
  int bass;
  std::vector<int> pad;
};

const Chord kAm{45, {57, 60, 64, 67}}, kF{41, {57, 60, 65, 69}}, kC{48, {55, 60, 64, 67}}, kG{43, {55, 59, 62, 67}},
    kDm{50, {57, 62, 65, 69}}, kE{40, {56, 59, 64, 68}};

const Chord& chordAt(int bar) {
  static const Chord* const kMain[] = {&kAm, &kF, &kC, &kG};
  static const Chord* const kBreak[] = {&kAm, &kF, &kDm, &kE};
  return (bar >= 24 && bar < 32) ? *kBreak[bar % 4] : *kMain[bar % 4];
}

// The tune: four bars, then four with a rising ending. Beats from its start.
const std::vector<Note> kTune = {
    {0, 0.75, 76, 0.9f},      {0.75, 0.75, 74, 0.75f},  {1.5, 1, 72, 0.8f},      {2.5, 0.5, 69, 0.7f},
    {3, 1, 72, 0.8f},         {4, 0.75, 72, 0.85f},     {4.75, 0.75, 74, 0.75f}, {5.5, 1.5, 76, 0.85f},
    {7, 0.5, 77, 0.7f},       {7.5, 0.5, 76, 0.7f},     {8, 0.75, 79, 0.9f},     {8.75, 0.75, 76, 0.75f},
    {9.5, 1, 72, 0.8f},       {10.5, 0.5, 74, 0.7f},    {11, 1, 76, 0.8f},       {12, 1.5, 74, 0.85f},
    {13.5, 0.5, 71, 0.7f},    {14, 2, 67, 0.8f},        {16, 0.75, 76, 0.9f},    {16.75, 0.75, 74, 0.75f},
    {17.5, 1, 72, 0.8f},      {18.5, 0.5, 69, 0.7f},    {19, 1, 72, 0.8f},       {20, 0.75, 72, 0.85f},
    {20.75, 0.75, 74, 0.75f}, {21.5, 1.5, 76, 0.85f},   {23, 0.5, 77, 0.7f},     {23.5, 0.5, 76, 0.7f},
    {24, 0.75, 79, 0.9f},     {24.75, 0.75, 76, 0.75f}, {25.5, 1, 72, 0.8f},     {26.5, 0.5, 74, 0.7f},
    {27, 1, 76, 0.8f},        {28, 0.75, 74, 0.85f},    {28.75, 0.75, 76, 0.8f}, {29.5, 0.5, 79, 0.85f},
    {30, 2, 81, 0.95f},
};

// Long notes over the breakdown.
const std::vector<Note> kBreakTune = {
    {0, 2, 81, 0.7f},   {2, 2, 84, 0.75f}, {4, 4, 81, 0.7f},   {8, 2, 77, 0.7f},  {10, 2, 81, 0.7f},
    {12, 4, 80, 0.8f},  {16, 2, 81, 0.7f}, {18, 2, 84, 0.75f}, {20, 3, 88, 0.8f}, {23, 1, 86, 0.7f},
    {24, 2, 84, 0.75f}, {26, 2, 81, 0.7f}, {28, 4, 83, 0.85f},
};

}  // namespace

StereoTrack levelTheme() {
  const Song song{126.0, 48};
  LoopBus drums(song), bass(song), pads(song), arp(song), lead(song), fx(song);
  const PadTone padTone{0.4f, 0.35f, 1800.0f, 12.0f, 0.15f};
  const PluckTone arpTone{0.16f, 3200.0f, 0.07f, 0.3f, 0.5f};
  const BassTone bassTone{220.0f, 2200.0f, 0.07f, 0.45f, 0.55f, 0.02f};
  const LeadTone leadTone{3400.0f, 0.2f, 8.0f, 20.0f, 0.008f, 0.1f};
  std::vector<double> kicks;

  for (int bar = 0; bar < song.bars; ++bar) {
    const Chord& chord = chordAt(bar);
    const double at = bar * 4.0;
    const bool breakdown = bar >= 24 && bar < 30;
    const bool intro = bar < 8;

    // Drums.
    if (!breakdown) {
      for (int b = 0; b < 4; ++b) {
        playKick(drums, song, at + b, 0.95f);
        kicks.push_back(at + b);
      }
    }
    if (!intro || bar >= 4) {
      if (!breakdown || bar >= 26) {
        playSnare(drums, song, at + 1, 0.8f);
        playSnare(drums, song, at + 3, 0.85f);
      }
    }
    for (int s = 0; s < 16; ++s) {
      const double t = at + s * 0.25;
      if (s % 4 == 2)
        playHat(drums, song, t, 0.75f, s == 14 && bar % 2 == 1);
      else if (!intro && s % 2 == 1)
        playHat(drums, song, t, 0.25f, false);
    }
    // Fills into every eight-bar section, a long roll into the last part.
    if (bar % 8 == 7 && bar != 31) {
      for (int s = 12; s < 16; ++s) playSnare(drums, song, at + s * 0.25, 0.45f + 0.1f * static_cast<float>(s - 12));
    }
    if (bar == 30 || bar == 31) {
      for (int s = 0; s < 16; ++s) {
        const float rise = static_cast<float>((bar - 30) * 16 + s) / 32.0f;
        if (bar == 30 && s % 2 == 1) continue;
        playSnare(drums, song, at + s * 0.25, 0.3f + 0.6f * rise);
      }
    }
    if (bar % 16 == 0) playCrash(drums, song, at, 0.8f);
    if (bar == 6) playRiser(fx, song, at, 8.0, 0.7f);
    if (bar == 28) playRiser(fx, song, at, 16.0, 0.8f);

    // Bass: driving eighths with octave kicks; long notes in the breakdown.
    if (breakdown) {
      playBass(bass, song, {at, 3.75, static_cast<double>(chord.bass), 0.7f}, bassTone);
    } else {
      static const int kOctave[] = {0, 0, 12, 0, 0, 0, 12, 0};
      for (int e = 0; e < 8; ++e)
        playBass(bass, song,
                 {at + e * 0.5, 0.4, static_cast<double>(chord.bass + kOctave[e]), e % 2 == 0 ? 0.95f : 0.75f},
                 bassTone);
    }

    // Pads: quiet in the intro, wide in the breakdown.
    const float padLevel = intro ? 0.3f : breakdown || (bar >= 24 && bar < 32) ? 0.8f : 0.45f;
    for (size_t i = 0; i < chord.pad.size(); ++i)
      playPad(pads, song, {at, 4.0, static_cast<double>(chord.pad[i]), padLevel, -0.6f + 0.4f * static_cast<float>(i)},
              padTone);

    // Sixteenth arpeggio from bar 16 on, strongest in the breakdown.
    if (bar >= 16) {
      static const int kOrder[] = {0, 1, 2, 3, 2, 1, 2, 3};
      const float level = (bar >= 24 && bar < 32) ? 0.75f : 0.45f;
      for (int s = 0; s < 16; ++s) {
        const int tone = chord.pad[static_cast<size_t>(kOrder[s % 8])] + 12;
        playPluck(arp, song,
                  {at + s * 0.25, 0.2, static_cast<double>(tone), level * (s % 4 == 0 ? 1.0f : 0.7f),
                   s % 2 == 0 ? 0.5f : -0.5f},
                  arpTone);
      }
    }
  }

  // The tune at bars 8 and 16, the break tune at 24, the tune again at 32
  // and 40, doubled an octave down the second time round.
  for (int start : {8, 16, 32, 40}) {
    for (const Note& m : kTune) {
      Note n = m;
      n.beat += start * 4.0;
      playLead(lead, song, n, leadTone);
      if (start >= 16) {
        n.pitch -= 12;
        n.velocity *= 0.55f;
        n.pan = -0.3f;
        playLead(lead, song, n, leadTone);
      }
    }
  }
  for (const Note& m : kBreakTune) {
    Note n = m;
    n.beat += 24 * 4.0;
    n.pan = 0.2f;
    playLead(lead, song, n, leadTone);
  }

  const std::vector<float> pump = duckCurve(song, kicks, 0.55f, 0.11f);
  MixSettings mix;
  mix.reverbRoom = 0.6f;
  mix.reverbLevel = 0.8f;
  mix.delayBeats = 0.75;
  mix.delayFeedback = 0.3f;
  mix.delayLevel = 0.45f;
  return mixdown(song,
                 {{&drums, 0.65f, 0.05f, 0.0f},
                  {&bass, 0.65f, 0.0f, 0.0f, &pump},
                  {&pads, 0.45f, 0.45f, 0.0f, &pump},
                  {&arp, 0.8f, 0.25f, 0.35f, &pump},
                  {&lead, 0.8f, 0.3f, 0.3f},
                  {&fx, 0.7f, 0.3f, 0.0f}},
                 mix);
}

}  // namespace gen
