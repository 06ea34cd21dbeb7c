// Mixing and mastering of a music loop, and its encoding.
#include <algorithm>
#include <cmath>

#include "dsp.hpp"
#include "music_engine.hpp"

namespace gen {
namespace {

constexpr float kReverbMakeUp = 3.0f;  // the reverb's own input scaling is low

// Runs a stateful stereo effect over the loop, first warming it up on the
// loop's last seconds, so the effect's state at the start (echoes, reverb
// tail, filter memory) is what the end of the loop leaves behind. The warm-up
// outlasts every tail by far (they fall by 60 dB within about five seconds).
template <typename Effect>
void processLooped(Effect& fx, const std::vector<float>& inL, const std::vector<float>& inR, std::vector<float>& outL,
                   std::vector<float>& outR) {
  constexpr size_t kWarmUp = 12 * kSampleRate;
  const size_t n = inL.size();
  float l, r;
  for (size_t i = n - std::min(n, kWarmUp); i < n; ++i) fx.process(inL[i], inR[i], l, r);
  outL.assign(n, 0.0f);
  outR.assign(n, 0.0f);
  for (size_t i = 0; i < n; ++i) fx.process(inL[i], inR[i], outL[i], outR[i]);
}

struct DcBlock {
  DcBlock() {
    l.tune(25.0f);
    r.tune(25.0f);
  }
  void process(float inL, float inR, float& outL, float& outR) {
    outL = l.highpass(inL);
    outR = r.highpass(inR);
  }
  OnePole l, r;
};

}  // namespace

StereoTrack mixdown(const Song& song, const std::vector<BusMix>& buses, const MixSettings& mix) {
  const size_t n = song.frames();
  std::vector<float> dryL(n, 0.0f), dryR(n, 0.0f), revL(n, 0.0f), revR(n, 0.0f), delL(n, 0.0f), delR(n, 0.0f);
  for (const BusMix& m : buses) {
    for (size_t i = 0; i < n; ++i) {
      const float g = m.gain * (m.duck != nullptr ? (*m.duck)[i] : 1.0f);
      const float l = m.bus->left[i] * g, r = m.bus->right[i] * g;
      dryL[i] += l;
      dryR[i] += r;
      revL[i] += l * m.reverbSend;
      revR[i] += r * m.reverbSend;
      delL[i] += l * m.delaySend;
      delR[i] += r * m.delaySend;
    }
  }
  PingPongDelay delay(static_cast<float>(mix.delayBeats * song.beatSeconds()), mix.delayFeedback, mix.delayTone);
  std::vector<float> echoL, echoR;
  processLooped(delay, delL, delR, echoL, echoR);
  for (size_t i = 0; i < n; ++i) {
    revL[i] += echoL[i] * 0.3f;
    revR[i] += echoR[i] * 0.3f;
  }
  Reverb reverb(mix.reverbRoom, mix.reverbDamping);
  std::vector<float> wetL, wetR;
  processLooped(reverb, revL, revR, wetL, wetR);
  for (size_t i = 0; i < n; ++i) {
    dryL[i] += echoL[i] * mix.delayLevel + wetL[i] * mix.reverbLevel * kReverbMakeUp;
    dryR[i] += echoR[i] * mix.delayLevel + wetR[i] * mix.reverbLevel * kReverbMakeUp;
  }
  DcBlock dc;
  StereoTrack out;
  processLooped(dc, dryL, dryR, out.left, out.right);

  // Master: bring the loop to its loudness and round off the peaks below
  // full scale, leaving headroom for the codec.
  double energy = 0.0;
  for (size_t i = 0; i < n; ++i) energy += out.left[i] * out.left[i] + out.right[i] * out.right[i];
  const auto rms = static_cast<float>(std::sqrt(energy / (2.0 * static_cast<double>(n))));
  const float gain = rms > 0.0f ? mix.loudness / rms : 1.0f;
  constexpr float kCeiling = 0.72f;
  for (size_t i = 0; i < n; ++i) {
    out.left[i] = kCeiling * std::tanh(out.left[i] * gain / kCeiling);
    out.right[i] = kCeiling * std::tanh(out.right[i] * gain / kCeiling);
  }
  return out;
}

Bytes musicOgg(const StereoTrack& track) { return encodeOggVorbis(track.left, track.right, kSampleRate, 0.1f); }

}  // namespace gen
