#pragma once
// The little music engine: songs counted in beats, instruments that render a
// note at a time into loop buses, a drum kit, and the mixdown. Buses wrap
// around the loop length, so a note that rings past the end continues at the
// start exactly as it will when the game loops the track.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio.hpp"

namespace gen {

struct Song {
  double bpm;
  int bars;
  int beatsPerBar = 4;

  double beatSeconds() const { return 60.0 / bpm; }
  double beats() const { return static_cast<double>(bars) * beatsPerBar; }
  size_t frames() const;
  size_t frameAt(double beat) const;
};

class LoopBus {
 public:
  explicit LoopBus(const Song& song);
  size_t frames() const { return left.size(); }
  void add(size_t frame, float l, float r) {
    while (frame >= left.size()) frame -= left.size();
    left[frame] += l;
    right[frame] += r;
  }
  std::vector<float> left, right;
};

struct Note {
  double beat;     // start
  double beats;    // held length
  double pitch;    // MIDI note number
  float velocity;  // 0..1
  float pan = 0;   // -1 left .. 1 right
};

struct PadTone {
  float attack = 0.6f, release = 0.7f;  // release is a time constant
  float cutoff = 1600.0f, detuneCents = 9.0f, resonance = 0.15f;
  float breathBars = 0.0f;  // period of a slow filter sweep shared by all notes (0: none)
};
struct PluckTone {
  float decay = 0.3f, cutoff = 2800.0f, cutoffDecay = 0.12f, resonance = 0.25f, squareMix = 0.4f;
};
struct BassTone {
  float cutoff = 250.0f, envAmount = 1800.0f, envDecay = 0.09f, resonance = 0.35f, sub = 0.6f;
  float release = 0.03f;
};
struct LeadTone {
  float cutoff = 3000.0f, resonance = 0.2f, detuneCents = 7.0f, vibratoCents = 18.0f;
  float attack = 0.01f, release = 0.12f;
};
struct BellTone {
  float ratio = 3.5f, index = 2.0f, decay = 1.4f;
};

void playPad(LoopBus& bus, const Song& song, const Note& n, const PadTone& tone);
void playPluck(LoopBus& bus, const Song& song, const Note& n, const PluckTone& tone);
void playBass(LoopBus& bus, const Song& song, const Note& n, const BassTone& tone);
void playLead(LoopBus& bus, const Song& song, const Note& n, const LeadTone& tone);
void playBell(LoopBus& bus, const Song& song, const Note& n, const BellTone& tone);

// Drums; `beat` is the hit time, noise seeds derive from it.
void playKick(LoopBus& bus, const Song& song, double beat, float velocity);
void playSnare(LoopBus& bus, const Song& song, double beat, float velocity);
void playHat(LoopBus& bus, const Song& song, double beat, float velocity, bool open);
void playCrash(LoopBus& bus, const Song& song, double beat, float velocity);
// Noise swelling up through a rising band-pass until `beat + beats`.
void playRiser(LoopBus& bus, const Song& song, double beat, double beats, float velocity);

// Gain curve that dips after every kick (side-chain pumping).
std::vector<float> duckCurve(const Song& song, const std::vector<double>& kickBeats, float depth, float recovery);

struct BusMix {
  const LoopBus* bus;
  float gain;
  float reverbSend = 0;
  float delaySend = 0;
  const std::vector<float>* duck = nullptr;
};
struct MixSettings {
  float reverbRoom = 0.6f, reverbDamping = 0.4f, reverbLevel = 1.0f;
  double delayBeats = 0.75;
  float delayFeedback = 0.35f, delayTone = 3500.0f, delayLevel = 0.5f;
  float loudness = 0.17f;  // RMS of the finished loop
};

// Sums the buses with a shared reverb and delay, masters the loop (the
// effects run over it twice so their tails wrap into the start) and returns
// it ready to encode.
StereoTrack mixdown(const Song& song, const std::vector<BusMix>& buses, const MixSettings& mix);

}  // namespace gen
