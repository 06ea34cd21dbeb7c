#pragma once
// The game's sounds: short effects and three looping music tracks.
#include <vector>

#include "encoders.hpp"

namespace gen {

// Interleaved samples at kSampleRate (dsp.hpp).
struct Clip {
  int channels = 1;
  std::vector<float> samples;
};

Clip playerShotSound();     // soft laser pew, fired many times a second
Clip enemyShotSound();      // lower bubbly blip
Clip zapSound();            // the hit and kill zap
Clip missileWhooshSound();  // missile launch
Clip specialLaunchSound();  // special-attack launch
Clip yesSound();            // pick-up and logo sting
Clip sparkleSound();        // a pick-up appears
Clip perfectSound();        // triumphant "perfect" sting
Clip coolSound();           // results tally sting
Clip explosionSound();      // the ship blows up

// Fades the ends, normalises and encodes an effect as 16-bit WAVE.
Bytes effectWav(Clip clip);

struct StereoTrack {
  std::vector<float> left, right;
};

StereoTrack titleTheme();  // calm: pads, slow arpeggio, bell melody
StereoTrack levelTheme();  // driving: drums, bass line, lead
StereoTrack bossTheme();   // urgent: fast, minor, riffing

// Encodes a loop as Ogg Vorbis.
Bytes musicOgg(const StereoTrack& track);

}  // namespace gen
